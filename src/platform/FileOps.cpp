#include "FileOps.h"
#include "Locale.h"
#include "VbError.h"
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStorageInfo>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

fs::path P(const QString& path) { return fs::path(NativePath(path).toStdString()); }

bool HasNul(const QString& path) { return path.contains(QChar(0)); }

[[noreturn]] void Raise(const std::error_code& ec, int32_t fallback)
{
    if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted
        || ec == std::errc::read_only_file_system)
        throw VbError(VbErr::PermissionDenied);
    if (ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory)
        throw VbError(fallback);
    throw VbError(fallback, QString::fromStdString(ec.message()));
}

} // namespace

QByteArray NativePath(const QString& path)
{
    if (HasNul(path))
        throw VbError(VbErr::BadFileName);
    return QFile::encodeName(path);
}

bool FileExists(const QString& path)
{
    std::error_code ec;
    return !path.isEmpty() && !HasNul(path) && fs::is_regular_file(P(path), ec);
}

bool FolderExists(const QString& path)
{
    std::error_code ec;
    return !path.isEmpty() && !HasNul(path) && fs::is_directory(P(path), ec);
}

void CreateFolder(const QString& path)
{
    if (FolderExists(path))
        return;
    std::error_code ec;
    if (!fs::create_directory(P(path), ec) && ec)
        Raise(ec, VbErr::PathNotFound);
}

std::uintmax_t FileLen(const QString& path)
{
    std::error_code ec;
    const auto n = fs::file_size(P(path), ec);
    if (ec)
        Raise(ec, VbErr::FileNotFound);
    return n;
}

void DeleteFile(const QString& path)
{
    if (!FileExists(path))
        throw VbError(VbErr::FileNotFound);
    std::error_code ec;
    if (!fs::remove(P(path), ec) && ec)
        Raise(ec, VbErr::FileNotFound);
}

void MoveFile(const QString& from, const QString& to)
{
    if (!FileExists(from))
        throw VbError(VbErr::FileNotFound);
    std::error_code ec;
    if (fs::exists(P(to), ec))
        throw VbError(58, QStringLiteral("File already exists"));
    fs::rename(P(from), P(to), ec);
    if (ec)
        Raise(ec, VbErr::PathNotFound);
}

QString ParentFolder(const QString& path)
{
    QString p = path;
    while (p.size() > 1 && p.endsWith(QLatin1Char('/')))
        p.chop(1);
    const int i = p.lastIndexOf(QLatin1Char('/'));
    if (i < 0)
        return QString();
    return i == 0 ? QStringLiteral("/") : p.left(i);
}

QString DriveName(const QString& path)
{
    // In a chroot the root folder need not be a mount point, and a path that does not
    // exist (yet) has no volume: the root folder holds them all.
    const QString root = QStorageInfo(path).rootPath();
    return root.isEmpty() ? QStringLiteral("/") : root;
}

QStringList Drives()
{
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath()))
            roots << volume.rootPath();
    roots.sort();
    return roots;
}

QString BaseName(const QString& path)
{
    QString name = path;
    while (name.size() > 1 && name.endsWith(QLatin1Char('/')))
        name.chop(1);
    name = name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
    const int point = name.lastIndexOf(QLatin1Char('.'));
    return point < 0 ? name : name.left(point);
}

QStringList SubFolders(const QString& path)
{
    QStringList folders;
    if (HasNul(path))
        return folders;
    std::error_code ec;
    for (fs::directory_iterator it(P(path), ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        const QString name = QString::fromStdString(it->path().filename().string());
        if (it->is_directory(typeError) && !name.startsWith(QLatin1Char('.')))
            folders << name;
    }
    std::sort(folders.begin(), folders.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return folders;
}

bool SameFile(const QString& a, const QString& b)
{
    std::error_code ec;
    return !HasNul(a) && !HasNul(b) && fs::equivalent(P(a), P(b), ec) && !ec;
}

namespace {
const QString PartialSuffix = QStringLiteral(".partial-");
}

QString PartialName(const QString& target)
{
    return target + PartialSuffix + QStringLiteral("%1-%2")
                                        .arg(QCoreApplication::applicationPid())
                                        .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}

void SyncFile(const QString& path)
{
    const int fd = ::open(NativePath(path).constData(), O_RDONLY | O_CLOEXEC);
    const bool ok = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!ok)
        throw VbError(VbErr::PermissionDenied, path + QStringLiteral(": ")
                                                   + ProgramText("The file could not be written to the disk.",
                                                                 "Die Datei konnte nicht auf den Datenträger geschrieben werden."));
}

void PutInPlace(const QString& partial, const QString& target)
{
    if (QFileInfo::exists(target))
        QFile::setPermissions(partial, QFile::permissions(target));
    SyncFile(partial);
    if (std::rename(NativePath(partial).constData(), NativePath(target).constData()) != 0)
        throw VbError(VbErr::PermissionDenied,
                      ProgramText("The file cannot take the place of ", "Die Datei kann nicht an die Stelle von ")
                          + target + ProgramText(".", " treten."));
    SyncFile(QFileInfo(target).absolutePath());
}

void RemoveLeftOverPartials(const QString& target, std::chrono::seconds minimumAge)
{
    const QFileInfo info(target);
    const QRegularExpression ours(QLatin1Char('^') + QRegularExpression::escape(info.fileName() + PartialSuffix)
                                  + QStringLiteral("[0-9]+-[0-9a-f]{8}(-journal)?$"));
    const QDateTime before = QDateTime::currentDateTime().addSecs(-minimumAge.count());
    const QDir folder = info.absoluteDir();
    for (const QFileInfo& file : folder.entryInfoList({info.fileName() + PartialSuffix + QLatin1Char('*')}, QDir::Files))
        if (ours.match(file.fileName()).hasMatch() && file.lastModified() <= before)
            QFile::remove(file.absoluteFilePath());
}

QString WriteFailureText(int systemError)
{
    switch (systemError) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return ProgramText("There is no space left on the disk.", "Auf dem Datenträger ist kein Platz mehr frei.");
    case EROFS:
        return ProgramText("The disk is read-only.", "Der Datenträger ist schreibgeschützt.");
    case EACCES:
    case EPERM:
        return ProgramText("Access was denied.", "Der Zugriff wurde verweigert.");
    default:
        return ProgramText("The file could not be written.", "Die Datei konnte nicht geschrieben werden.");
    }
}
