#include "MeasurementFile.h"

#include "platform/SymbolFont.h"
#include "platform/VbError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

std::vector<QString> MeasurementLines(QByteArrayView bytes)
{
    std::vector<QString> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.push_back(AnsiText(bytes.sliced(start, i - start)));
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.push_back(AnsiText(bytes.sliced(start)));
    return lines;
}

std::vector<QString> ReadMeasurementFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw VbError(info.absoluteDir().exists() ? VbErr::FileNotFound : VbErr::PathNotFound);
    QFile file(path);
    // A folder opens on some systems but never reads as a file.
    if (info.isDir() || !file.open(QIODevice::ReadOnly))
        throw VbError(file.error() == QFileDevice::PermissionsError ? VbErr::PermissionDenied : VbErr::FileAccess);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw VbError(VbErr::FileAccess);
    return MeasurementLines(bytes);
}
