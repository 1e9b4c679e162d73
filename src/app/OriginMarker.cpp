#include "OriginMarker.h"
#include "platform/FileOps.h"
#include <QFile>
#include <climits>

namespace {

// The lines after the path: "key=value", in this order. A reader passes over keys it
// does not know: the stamp's lines came later, after those an older version reads.
const char* const Size = "size";
const char* const Modified = "modified";
const char* const Owner = "owner";
const char* const Checksum = "sha256";
const char* const Device = "device";
const char* const Inode = "inode";
const char* const ChangedNs = "changed-ns";
const char* const ModifiedNs = "modified-ns";
const char* const Kept = "kept";

// The most a marker holds: the longest path the system takes, and the lines after it.
constexpr qint64 MaxMarkerSize = PATH_MAX + 1024;

} // namespace

QString OriginMarker(const QString& copy)
{
    return copy + QStringLiteral(".origin");
}

Origin ReadOrigin(const QString& copy)
{
    const std::optional<QByteArray> text = ReadOwnFile(OriginMarker(copy), MaxMarkerSize);
    if (!text)
        return {};
    const QList<QByteArray> lines = text->split('\n');
    Origin origin;
    origin.projectDb = QString::fromUtf8(lines.value(0)).trimmed();
    FileState state;
    FileStamp stamp;
    bool sized = false, ok = true;
    int stampParts = 0;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const qsizetype eq = line.indexOf('=');
        const QByteArray key = line.left(eq), value = line.mid(eq + 1);
        bool number = true;
        if (key == Size)
            state.size = value.toLongLong(&number), sized = number;
        else if (key == Modified)
            state.modifiedMs = value.toLongLong(&number);
        else if (key == Owner)
            state.owner = value.toUInt(&number);
        else if (key == Checksum)
            state.checksum = value;
        else if (key == Device)
            stamp.device = value.toULongLong(&number), ++stampParts;
        else if (key == Inode)
            stamp.inode = value.toULongLong(&number), ++stampParts;
        else if (key == ChangedNs)
            stamp.changedNs = value.toLongLong(&number), ++stampParts;
        else if (key == ModifiedNs)
            stamp.modifiedNs = value.toLongLong(&number), ++stampParts;
        else if (key == Kept)
            origin.kept = value == "1";
        ok = ok && number;
    }
    if (stampParts == 4)
        state.stamp = stamp;
    if (ok && sized && !state.checksum.isEmpty())
        origin.base = state;
    return origin;
}

void WriteOrigin(const QString& copy, const Origin& origin)
{
    QByteArray text = origin.projectDb.toUtf8() + '\n';
    if (origin.base) {
        const FileState& s = *origin.base;
        text += QByteArray(Size) + '=' + QByteArray::number(qint64(s.size)) + '\n';
        text += QByteArray(Modified) + '=' + QByteArray::number(qint64(s.modifiedMs)) + '\n';
        text += QByteArray(Owner) + '=' + QByteArray::number(s.owner) + '\n';
        text += QByteArray(Checksum) + '=' + s.checksum + '\n';
        if (s.stamp) {
            text += QByteArray(Device) + '=' + QByteArray::number(qulonglong(s.stamp->device)) + '\n';
            text += QByteArray(Inode) + '=' + QByteArray::number(qulonglong(s.stamp->inode)) + '\n';
            text += QByteArray(ChangedNs) + '=' + QByteArray::number(qint64(s.stamp->changedNs)) + '\n';
            text += QByteArray(ModifiedNs) + '=' + QByteArray::number(qint64(s.stamp->modifiedNs)) + '\n';
        }
    }
    if (origin.kept)
        text += QByteArray(Kept) + "=1\n";
    WriteOwnFile(OriginMarker(copy), text);
}

void RemoveOrigin(const QString& copy)
{
    QFile::remove(OriginMarker(copy));
}
