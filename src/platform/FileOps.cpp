#include "FileOps.h"
#include "Locale.h"
#include "System.h"
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
#include <climits>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

fs::path P(const QString& path) { return fs::path(NativePath(path).toStdString()); }

bool HasNul(const QString& path) { return path.contains(QChar(0)); }

const QString PartialSuffix = QStringLiteral(".partial-");

// A name beside file that no other writer (of this process or another) uses.
QString PartialOf(const QString& file)
{
    return file + PartialSuffix + QStringLiteral("%1-%2")
                                      .arg(QCoreApplication::applicationPid())
                                      .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}

[[noreturn]] void Raise(const std::error_code& ec, int32_t missing)
{
    const int32_t number = FileErrorNumber(ec.value(), missing);
    if (number == VbErr::FileAccess)
        throw VbError(number, QString::fromStdString(ec.message()));
    throw VbError(number);
}

// The same, naming the path a refusal or a missing parent concerns.
[[noreturn]] void RaiseFor(const std::error_code& ec, int32_t missing, const QString& path)
{
    try {
        Raise(ec, missing);
    } catch (const VbError& e) {
        throw VbError(e.number(), e.text() + QStringLiteral(": ") + path);
    }
}

// The entry itself, a link not followed; false when it does not exist.
bool EntryStatus(const QString& path, struct stat& st)
{
    return !HasNul(path) && ::lstat(NativePath(path).constData(), &st) == 0;
}

bool Status(const QString& path, struct stat& st)
{
    return !HasNul(path) && ::stat(NativePath(path).constData(), &st) == 0;
}

// A user as the program names him: the login name upper-cased, else the number.
QString OwnerName(uid_t uid)
{
    const QString name = UserNameOf(uid).toUpper();
    return name.isEmpty() ? QString::number(uid) : name;
}

// Gives a file or folder a group where the user may (a member of it, or root); a
// refusal leaves the group it has.
void TryGroup(const QString& path, gid_t group)
{
    struct stat st {};
    if (Status(path, st) && st.st_gid != group)
        (void)::chown(NativePath(path).constData(), uid_t(-1), group);
}

} // namespace

QByteArray NativePath(const QString& path)
{
    if (HasNul(path))
        throw VbError(VbErr::BadFileName);
    return QFile::encodeName(path);
}

bool HasControlCharacters(const QString& name)
{
    return std::any_of(name.begin(), name.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
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
        RaiseFor(ec, VbErr::PathNotFound, path);
}

bool KeepEntriesToTheirOwners(const QString& folder)
{
    struct stat st {};
    if (!Status(folder, st) || !(st.st_mode & (S_IWGRP | S_IWOTH)) || (st.st_mode & S_ISVTX))
        return true;
    if (st.st_uid != ::geteuid())
        return false;
    if (::chmod(NativePath(folder).constData(), (st.st_mode & 07777) | S_ISVTX) != 0)
        RaiseFor(std::error_code(errno, std::generic_category()), VbErr::PathNotFound, folder);
    return true;
}

void CreateSharedFolder(const QString& path, Sharing sharing)
{
    CreateFolder(path);
    struct stat parent {}, own {};
    if (!Status(ParentFolder(QFileInfo(path).absoluteFilePath()), parent) || !Status(path, own)
        || own.st_uid != ::geteuid())
        return;   // another user's folder stays as its owner made it
    const mode_t others = sharing == Sharing::Reading ? S_IRGRP | S_IXGRP | S_IROTH | S_IXOTH : S_IRWXG | S_IRWXO;
    mode_t mode = (own.st_mode & 07777) | (parent.st_mode & (others | S_ISGID));
    if (sharing == Sharing::EachOwnEntries && (mode & (S_IWGRP | S_IWOTH)))
        mode |= S_ISVTX;
    if (mode == (own.st_mode & 07777) && own.st_gid == parent.st_gid)
        return;
    TryGroup(path, parent.st_gid);
    // The mode is set after the group: a change of group may clear the set-group-ID bit.
    if (::chmod(NativePath(path).constData(), mode) != 0)
        RaiseFor(std::error_code(errno, std::generic_category()), VbErr::PathNotFound, path);
}

namespace {

// Error 70 naming a folder of the user's own, and what is wrong with it.
[[noreturn]] void OwnFolderRefused(const QString& path, const QString& fault)
{
    throw VbError(VbErr::PermissionDenied,
                  VbErrorText(VbErr::PermissionDenied) + QStringLiteral(": ") + path + QStringLiteral("\r\n") + fault);
}

// What keeps a folder from being the user's alone; nothing when it is.
QString OwnFolderFault(const struct stat& st)
{
    if (S_ISLNK(st.st_mode))
        return ProgramText("The folder is a symbolic link.", "Der Ordner ist eine symbolische Verknüpfung.");
    if (!S_ISDIR(st.st_mode))
        return ProgramText("It is no folder.", "Das ist kein Ordner.");
    if (st.st_uid != ::geteuid())
        return ProgramText("The folder belongs to user ", "Der Ordner gehört dem Benutzer ") + OwnerName(st.st_uid)
               + ProgramText(", not to you.", ", nicht Ihnen.");
    if (st.st_mode & (S_IWGRP | S_IWOTH))
        return ProgramText("Other users may write in the folder.", "Andere Benutzer dürfen in dem Ordner schreiben.");
    return QString();
}

// Who may remove an entry the user may not remove himself: in a folder where each may
// remove only his own entries, the entry's owner and the folder's; elsewhere the owner of
// the folder, who may write it. Nothing when the user may remove it.
QString WhoMayRemove(const QString& path, const struct stat& entry)
{
    struct stat parent {};
    const QString folder = ParentFolder(QFileInfo(path).absoluteFilePath());
    if (!Status(folder, parent))
        return QString();
    const bool ownEntriesOnly = parent.st_mode & S_ISVTX;
    const uid_t me = ::geteuid();
    if (MayWrite(folder) && (!ownEntriesOnly || me == 0 || entry.st_uid == me || parent.st_uid == me))
        return QString();
    QStringList who{OwnerName(parent.st_uid)};
    if (ownEntriesOnly && entry.st_uid != parent.st_uid)
        who.prepend(OwnerName(entry.st_uid));
    return who.size() == 1 ? ProgramText(" Only user ", " Entfernen kann ihn nur der Benutzer ") + who[0]
                                 + ProgramText(" can remove it.", ".")
                           : ProgramText(" Only users ", " Entfernen können ihn nur die Benutzer ")
                                 + who.join(ProgramText(" and ", " und ")) + ProgramText(" can remove it.", ".");
}

} // namespace

HeldFolder::~HeldFolder()
{
    if (handle_ >= 0)
        ::close(handle_);
}

bool HeldFolder::StillThere() const
{
    struct stat held {}, now {};
    return ::fstat(handle_, &held) == 0 && held.st_nlink > 0 && Status(path_, now) && now.st_dev == held.st_dev
           && now.st_ino == held.st_ino;
}

QString HeldFolder::WhereNow() const
{
    struct stat held {};
    if (::fstat(handle_, &held) != 0 || held.st_nlink == 0)
        return QString();
    const QByteArray link = "/proc/self/fd/" + QByteArray::number(handle_);
    char buffer[PATH_MAX + 1];
    const ssize_t n = ::readlink(link.constData(), buffer, PATH_MAX);
    return n > 0 ? QFile::decodeName(QByteArray(buffer, int(n))) : QString();
}

void HeldFolder::Check() const
{
    struct stat held {};
    if (::fstat(handle_, &held) != 0)
        OwnFolderRefused(path_, WriteFailureText(errno));
    if (!StillThere()) {
        const QString where = WhereNow();
        OwnFolderRefused(path_, where.isEmpty()
                                    ? ProgramText("The folder is no longer the one checked at the start: that one was "
                                                  "removed.",
                                                  "Der Ordner ist nicht mehr der beim Start geprüfte: dieser wurde "
                                                  "entfernt.")
                                    : ProgramText("The folder is no longer the one checked at the start: it was moved "
                                                  "or replaced. The folder checked lies now at ",
                                                  "Der Ordner ist nicht mehr der beim Start geprüfte: er wurde "
                                                  "verschoben oder ersetzt. Der geprüfte Ordner liegt jetzt unter ")
                                          + where + QLatin1Char('.'));
    }
    const QString fault = OwnFolderFault(held);
    if (!fault.isEmpty())
        OwnFolderRefused(path_, fault);
}

HeldFolder CreateOwnFolder(const QString& path)
{
    // Made for the user alone: the file-creation mask may narrow it, never widen it.
    if (::mkdir(NativePath(path).constData(), 0755) != 0 && errno != EEXIST)
        RaiseFor(std::error_code(errno, std::generic_category()), VbErr::PathNotFound, path);
    // Checked through the handle that holds it, so that what is checked is what is held.
    const int handle = ::open(NativePath(path).constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    struct stat st {};
    if (handle < 0 || ::fstat(handle, &st) != 0) {
        const int error = errno;
        if (handle >= 0)
            ::close(handle);
        RaiseFor(std::error_code(error, std::generic_category()), VbErr::PathNotFound, path);
    }
    HeldFolder held(path, handle);
    const QString fault = OwnFolderFault(st);
    if (!fault.isEmpty())
        OwnFolderRefused(path, fault + WhoMayRemove(path, st));
    return held;
}

void ShareLikeFolder(const QString& file, FileSharing sharing)
{
    struct stat folder {}, own {};
    if (!Status(QFileInfo(file).absolutePath(), folder) || !Status(file, own))
        throw VbError(VbErr::FileNotFound, VbErrorText(VbErr::FileNotFound) + QStringLiteral(": ") + file);
    const mode_t shared = sharing == FileSharing::ReadWrite ? S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH
                          : (own.st_mode & S_IXUSR)         ? S_IRGRP | S_IXGRP | S_IROTH | S_IXOTH
                                                            : S_IRGRP | S_IROTH;
    TryGroup(file, folder.st_gid);
    if (::chmod(NativePath(file).constData(), (own.st_mode & 07777) | (folder.st_mode & shared)) != 0)
        RaiseFor(std::error_code(errno, std::generic_category()), VbErr::PermissionDenied, file);
}

namespace {

// The effective user's rights, as the program's own reads, writes and starts will meet
// them.
bool MayAccess(const QString& path, int mode)
{
    return !HasNul(path) && ::eaccess(NativePath(path).constData(), mode) == 0;
}

} // namespace

bool MayWrite(const QString& path)
{
    return MayAccess(path, W_OK);
}

bool MayRead(const QString& path)
{
    return MayAccess(path, R_OK);
}

bool MayRun(const QString& path)
{
    return MayAccess(path, X_OK);
}

int32_t FileErrorNumber(int systemError, int32_t missing)
{
    switch (systemError) {
    case EACCES:
    case EPERM:
    case EROFS:
        return VbErr::PermissionDenied;
    case ENOENT:
    case ENOTDIR:
        return missing;
    default:
        return VbErr::FileAccess;
    }
}

int CreateNewFile(const QString& path, mode_t mode)
{
    // O_EXCL neither opens what exists nor follows a link planted under the name.
    return ::open(NativePath(path).constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
}

namespace {

// A new file that takes path in one step, bearing mode and group from then on: it is
// made under a name of its own beside path and linked to path, which never replaces
// what has the name meanwhile (EEXIST then). -1 with the cause in errno.
int MakeWithMode(const QString& path, mode_t mode, std::optional<gid_t> group)
{
    const QString partial = PartialOf(path);
    const int fd = CreateNewFile(partial, 0600);
    if (fd < 0)
        return -1;
    if (group)
        (void)::fchown(fd, uid_t(-1), *group);   // where the user may give it
    // The mode after the group: a change of group may clear bits.
    int linked = ::fchmod(fd, mode);
    if (linked == 0)
        linked = ::link(NativePath(partial).constData(), NativePath(path).constData());
    const int error = errno;
    ::unlink(NativePath(partial).constData());
    if (linked != 0) {
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

} // namespace

int OpenOrMakeFile(const QString& path, mode_t mode, std::optional<gid_t> group)
{
    const QByteArray native = NativePath(path);
    // Between a look for the file and its making another process may make it: it is
    // opened then.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd = ::open(native.constData(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            struct stat st {};
            if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
                return fd;
            ::close(fd);
            errno = ENXIO;
            return -1;
        }
        if (errno != ENOENT)
            return -1;
        const int made = MakeWithMode(path, mode, group);
        if (made >= 0 || errno != EEXIST)
            return made;
    }
    return -1;
}

LockAttempt TryExclusiveLock(int fd)
{
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK)
            return LockAttempt::HeldElsewhere;
        if (errno != EINTR)
            return LockAttempt::Failed;
    }
    return LockAttempt::Taken;
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
    struct stat st {};
    if (!EntryStatus(from, st) || S_ISDIR(st.st_mode))
        throw VbError(VbErr::FileNotFound, VbErrorText(VbErr::FileNotFound) + QStringLiteral(": ") + from);
    if (EntryStatus(to, st))
        throw VbError(58, QStringLiteral("File already exists: ") + to);
    std::error_code ec;
    fs::rename(P(from), P(to), ec);
    if (ec)
        RaiseFor(ec, VbErr::PathNotFound, to);
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

// The folder a path's last entry lies in, as the system finds it: every link on the
// way followed, each ".." taken from where a link really leads. Empty when there is
// no such folder.
QString RealFolderOf(const QString& path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash < 0 ? QStringLiteral(".") : slash == 0 ? QStringLiteral("/") : path.left(slash);
    if (HasNul(folder))
        return QString();
    char* real = ::realpath(NativePath(folder).constData(), nullptr);
    if (!real)
        return QString();
    const QString resolved = QFile::decodeName(real);
    std::free(real);
    return resolved;
}

QString InRealFolder(const QString& folder, const QString& name)
{
    return (folder == QStringLiteral("/") ? QString() : folder) + QLatin1Char('/') + name;
}

bool IsLink(const QString& path)
{
    struct stat st {};
    return EntryStatus(path, st) && S_ISLNK(st.st_mode);
}

} // namespace

QString LinkedFile(const QString& target)
{
    // Links are followed as the system follows them: a relative one from the folder it
    // really lies in (its ".." from there, not from the path's text). A loop of links
    // ends in the kernel's refusal when the file is opened.
    QString file = target;
    for (int hops = 0; hops < 40 && IsLink(file); ++hops) {
        const QString folder = RealFolderOf(file);
        std::error_code ec;
        const fs::path to = fs::read_symlink(P(file), ec);
        if (folder.isEmpty() || ec)
            break;   // gone meanwhile: the name itself is what is replaced
        const QString named = QFile::decodeName(QByteArray::fromStdString(to.string()));
        file = QDir::isAbsolutePath(named) ? named : InRealFolder(folder, named);
    }
    // Named from the folder it really lies in: the files made beside it are then made and
    // opened by a path without links, which no link among the folders above (a share)
    // can stop, while the file's own name is still never followed.
    const QString folder = RealFolderOf(file);
    return folder.isEmpty() ? file : InRealFolder(folder, file.mid(file.lastIndexOf(QLatin1Char('/')) + 1));
}

QString FileToReplace(const QString& target)
{
    const QString file = LinkedFile(target);
    if (QFileInfo::exists(file) && !MayWrite(file))
        throw VbError(VbErr::PermissionDenied, VbErrorText(VbErr::PermissionDenied) + QStringLiteral(": ") + file);
    return file;
}

QString PartialName(const QString& target)
{
    return PartialOf(LinkedFile(target));
}

QString NewPartial(const QString& target)
{
    const QString file = FileToReplace(target);
    const QString partial = PartialName(file);
    // Made here, not by whoever writes it, so that a failure names the file the user
    // knows, not the temporary one.
    const int fd = CreateNewFile(partial, 0600);
    if (fd < 0) {
        const int error = errno;
        const int32_t number = FileErrorNumber(error, VbErr::PathNotFound);
        if (number == VbErr::PathNotFound)
            throw VbError(number, VbErrorText(number) + QStringLiteral(": ") + file);
        throw VbError(number, VbErrorText(number) + QStringLiteral(": ") + file + QStringLiteral("\r\n")
                                  + ProgramText("Its folder takes no new file: ", "Ihr Ordner nimmt keine neue Datei auf: ")
                                  + WriteFailureText(error));
    }
    ::close(fd);
    return partial;
}

namespace {
std::function<void(const QString&)>& syncHook()
{
    static std::function<void(const QString&)> hook;
    return hook;
}

// Flushes a file (or a folder's entries) to the disk; false, with the cause in errno,
// when it cannot.
bool Flushed(const QString& path)
{
    if (syncHook())
        syncHook()(path);
    const int fd = ::open(NativePath(path).constData(), O_RDONLY | O_CLOEXEC);
    const bool ok = fd >= 0 && ::fsync(fd) == 0;
    const int error = errno;
    if (fd >= 0)
        ::close(fd);
    errno = error;
    return ok;
}

} // namespace

void SetSyncHook(std::function<void(const QString& path)> hook)
{
    syncHook() = std::move(hook);
}

void SyncFile(const QString& path)
{
    if (!Flushed(path))
        throw VbError(VbErr::PermissionDenied, path + QStringLiteral(": ")
                                                   + ProgramText("The file could not be written to the disk.",
                                                                 "Die Datei konnte nicht auf den Datenträger geschrieben werden."));
}

void PutInPlace(const QString& partial, const QString& target)
{
    const QString file = FileToReplace(target);
    struct stat old {};
    if (Status(file, old)) {
        // The file keeps who may use it: its permissions, and its group where we may.
        TryGroup(partial, old.st_gid);
        QFile::setPermissions(partial, QFile::permissions(file));
    }
    // A failure names the file the user knows and its own cause, taken before the texts
    // are put together.
    if (!Flushed(partial) || std::rename(NativePath(partial).constData(), NativePath(file).constData()) != 0) {
        const int error = errno;
        throw VbError(FileErrorNumber(error, VbErr::PathNotFound),
                      ProgramText("The file cannot take the place of ", "Die Datei kann nicht an die Stelle von ")
                          + file + ProgramText(". ", " treten. ") + WriteFailureText(error));
    }
    SyncFile(QFileInfo(file).absolutePath());
}

void WriteOwnFile(const QString& path, const QByteArray& content)
{
    const QString partial = PartialOf(path);
    const int fd = CreateNewFile(partial, 0644);
    bool ok = fd >= 0;
    for (qsizetype done = 0; ok && done < content.size();) {
        const ssize_t n = ::write(fd, content.constData() + done, size_t(content.size() - done));
        ok = n > 0 || (n < 0 && errno == EINTR);
        done += std::max<ssize_t>(n, 0);
    }
    ok = ok && ::fsync(fd) == 0;
    int error = errno;
    if (fd >= 0 && ::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    // rename() replaces the name itself, a link there included.
    if (ok && std::rename(NativePath(partial).constData(), NativePath(path).constData()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        if (fd >= 0)
            ::unlink(NativePath(partial).constData());
        throw VbError(VbErr::PermissionDenied, path + QStringLiteral(": ") + WriteFailureText(error));
    }
    SyncFile(QFileInfo(path).absolutePath());
}

std::optional<QByteArray> ReadOwnFile(const QString& path, qint64 maxBytes)
{
    if (HasNul(path))
        return std::nullopt;
    // Not blocking: a pipe at the name must not hold the reader.
    const int fd = ::open(NativePath(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::optional<QByteArray> content;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= maxBytes) {
        // One byte more than may be there tells a file that grew meanwhile.
        QByteArray bytes(maxBytes + 1, Qt::Uninitialized);
        qint64 done = 0;
        ssize_t n = 0;
        while (done < bytes.size() && ((n = ::read(fd, bytes.data() + done, size_t(bytes.size() - done))) > 0
                                       || (n < 0 && errno == EINTR)))
            done += std::max<ssize_t>(n, 0);
        if (n >= 0 && done <= maxBytes)
            content = bytes.left(done);
    }
    ::close(fd);
    return content;
}

void RemoveLeftOverPartials(const QString& target, std::chrono::seconds minimumAge)
{
    const QFileInfo info(LinkedFile(target));
    const QRegularExpression ours(QLatin1Char('^') + QRegularExpression::escape(info.fileName() + PartialSuffix)
                                  + QStringLiteral("[0-9]+-[0-9a-f]{8}(-journal)?$"));
    const qint64 before = QDateTime::currentSecsSinceEpoch() - minimumAge.count();
    const QDir folder = info.absoluteDir();
    // Every kind of entry is listed (a dangling link too), each judged by its own age.
    const QDir::Filters all = QDir::Files | QDir::System | QDir::Hidden;
    for (const QString& name : folder.entryList({info.fileName() + PartialSuffix + QLatin1Char('*')}, all)) {
        const QString path = folder.filePath(name);
        struct stat st {};
        if (ours.match(name).hasMatch() && EntryStatus(path, st) && !S_ISDIR(st.st_mode) && st.st_mtime <= before)
            QFile::remove(path);
    }
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
    case ENOENT:
    case ENOTDIR:
        return ProgramText("The file or its folder is not there.", "Die Datei oder ihr Ordner ist nicht vorhanden.");
    default:
        return ProgramText("The file could not be written.", "Die Datei konnte nicht geschrieben werden.");
    }
}
