#include "PictureDocument.h"
#include "VbError.h"
#include <QDir>
#include <QTemporaryFile>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QTextImageFormat>
#include <QUrl>

namespace {

// The document format measures pictures in pixels of a 96-dpi screen.
constexpr double DocumentDpi = 96.0;

double DocumentPixels(int pixels, int dotsPerMeter)
{
    return dotsPerMeter > 0 ? pixels / (dotsPerMeter * 0.0254) * DocumentDpi : pixels;
}

} // namespace

QString WritePictureDocument(const QString& baseName, const std::vector<NamedPicture>& pictures)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const NamedPicture& picture = pictures[i];
        cursor.insertText(picture.name);
        cursor.insertBlock();
        // Each picture under a name of its own, whatever the names are.
        const QString resource = QStringLiteral("picture%1.png").arg(i + 1);
        document.addResource(QTextDocument::ImageResource, QUrl(resource), picture.image);
        QTextImageFormat format;
        format.setName(resource);
        format.setWidth(DocumentPixels(picture.image.width(), picture.image.dotsPerMeterX()));
        format.setHeight(DocumentPixels(picture.image.height(), picture.image.dotsPerMeterY()));
        cursor.insertImage(format);
        cursor.insertBlock();
    }
    QTemporaryFile file(QDir::tempPath() + QLatin1Char('/') + baseName + QStringLiteral("-XXXXXX.odt"));
    file.setAutoRemove(false);
    const bool written = file.open() && QTextDocumentWriter(&file, "odf").write(&document) && file.flush();
    if (!written) {
        file.remove();
        throw VbError(VbErr::FileAccess, VbErrorText(VbErr::FileAccess) + QStringLiteral(": ") + file.fileName());
    }
    return file.fileName();
}
