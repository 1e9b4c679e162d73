#include "ReplacementLock.h"
#include "FileOps.h"
#include "Locale.h"
#include "VbError.h"
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void Fail(const QString& path, int error)
{
    QString cause;
    if (error == ELOOP || error == ENXIO || error == EISDIR)
        cause = ProgramText("It is no plain file.", "Sie ist keine gewöhnliche Datei.");
    else if (error == ENOLCK || error == EOPNOTSUPP || error == EINVAL || error == EBADF)
        cause = ProgramText("Its file system has no locks.", "Ihr Dateisystem kennt keine Sperren.");
    else
        cause = WriteFailureText(error);
    throw VbError(FileErrorNumber(error, VbErr::PathNotFound), path + QStringLiteral(": ") + cause);
}

// Reading and writing for those who may write the folder, and for nobody else: only
// they may replace the project, so only they may hold up its saves.
mode_t SharedMode(const struct stat& folder)
{
    const mode_t m = folder.st_mode;
    return S_IRUSR | S_IWUSR | ((m & S_IWGRP) ? S_IRGRP | S_IWGRP : 0) | ((m & S_IWOTH) ? S_IROTH | S_IWOTH : 0);
}

} // namespace

QString ReplacementLock::LockFile(const QString& target)
{
    return LinkedFile(target) + QStringLiteral(".lock");
}

ReplacementLock::ReplacementLock(const QString& target) : path_(LockFile(target))
{
    // Made when missing, in the folder's group, with its final permissions from the first
    // moment: someone opening it meanwhile must not lock a file that others cannot.
    struct stat folder {};
    if (::stat(NativePath(ParentFolder(path_)).constData(), &folder) != 0)
        Fail(path_, errno);
    fd_ = OpenOrMakeFile(path_, SharedMode(folder), folder.st_gid);
    if (fd_ < 0)
        Fail(path_, errno);
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
