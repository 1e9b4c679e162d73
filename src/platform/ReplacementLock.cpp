#include "ReplacementLock.h"
#include "FileOps.h"
#include "Locale.h"
#include "VbError.h"
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void Fail(const QString& path, int error)
{
    const bool refused = error == EACCES || error == EPERM || error == EROFS;
    QString cause;
    if (error == ELOOP || error == ENXIO || error == EISDIR)
        cause = ProgramText("It is no plain file.", "Sie ist keine gewöhnliche Datei.");
    else if (error == ENOLCK || error == EOPNOTSUPP || error == EINVAL || error == EBADF)
        cause = ProgramText("Its file system has no locks.", "Ihr Dateisystem kennt keine Sperren.");
    else
        cause = WriteFailureText(error);
    throw VbError(refused ? VbErr::PermissionDenied : VbErr::FileAccess, path + QStringLiteral(": ") + cause);
}

// Reading for those the folder lets pass, which is all a lock needs on a local disk;
// writing for those who may write the folder, which a network share's lock needs.
mode_t SharedMode(const struct stat& folder)
{
    const mode_t m = folder.st_mode;
    return S_IRUSR | S_IWUSR | ((m & S_IXGRP) ? S_IRGRP : 0) | (m & S_IWGRP) | ((m & S_IXOTH) ? S_IROTH : 0)
           | (m & S_IWOTH);
}

} // namespace

QString ReplacementLock::LockFile(const QString& target)
{
    return LinkedFile(target) + QStringLiteral(".lock");
}

ReplacementLock::ReplacementLock(const QString& target) : path_(LockFile(target))
{
    const QByteArray native = NativePath(path_);
    // An existing one is opened, a missing one made; between the two another user may
    // have made it, and it is opened then. Never blocking: a planted pipe would. Opened
    // for writing where the user may (a share locks only such files), else for reading.
    const int flags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    for (int attempt = 0; fd_ < 0 && attempt < 3; ++attempt) {
        fd_ = ::open(native.constData(), O_RDWR | flags);
        if (fd_ < 0 && (errno == EACCES || errno == EROFS))
            fd_ = ::open(native.constData(), O_RDONLY | flags);
        if (fd_ >= 0 || errno != ENOENT)
            break;
        fd_ = ::open(native.constData(), O_RDWR | flags | O_CREAT | O_EXCL, 0600);
        struct stat folder {};
        if (fd_ >= 0 && ::stat(NativePath(ParentFolder(path_)).constData(), &folder) == 0) {
            (void)::fchown(fd_, uid_t(-1), folder.st_gid);   // where the user may give the group
            (void)::fchmod(fd_, SharedMode(folder));
        }
        if (fd_ < 0 && errno != EEXIST)
            break;
    }
    if (fd_ < 0)
        Fail(path_, errno);
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd_);
        Fail(path_, ENXIO);
    }
}

ReplacementLock::~ReplacementLock()
{
    ::close(fd_);   // gives the lock up
}

bool ReplacementLock::TryLock()
{
    switch (TryExclusiveLock(fd_)) {
    case LockAttempt::Taken:
        return true;
    case LockAttempt::HeldElsewhere:
        return false;
    case LockAttempt::Failed:
        break;
    }
    Fail(path_, errno);
}
