#include "ScreenCopy.h"
#include "FileOps.h"
#include "VbError.h"
#include <QClipboard>
#include <QGuiApplication>
#include <QImageWriter>
#include <QSaveFile>
#include <QWidget>

QImage PrintScreen(QWidget& window)
{
    const QImage picture = window.grab().toImage();
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setImage(picture);
    return picture;
}

void SaveBitmap(const QImage& image, const QString& path)
{
    if (!FolderExists(ParentFolder(path)))
        throw VbError(VbErr::PathNotFound, VbErrorText(VbErr::PathNotFound) + QStringLiteral(": ") + path);
    QSaveFile file(path);
    QImageWriter writer(&file, "BMP");
    // A bitmap has no transparency: the picture as it shows.
    if (!file.open(QIODevice::WriteOnly) || !writer.write(image.convertToFormat(QImage::Format_RGB32))
        || !file.commit())
        throw VbError(VbErr::FileAccess, VbErrorText(VbErr::FileAccess) + QStringLiteral(": ") + path);
}
