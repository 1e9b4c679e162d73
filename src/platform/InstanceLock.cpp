#include "InstanceLock.h"
#include "FileOps.h"
#include "VbError.h"
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool InstanceLock::Acquire(const QString& lockFilePath)
{
    Release();
    const int fd = ::open(NativePath(lockFilePath).constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC,
                          0644);
    struct stat st {};
    bool heldElsewhere = false;
    if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        const LockAttempt attempt = TryExclusiveLock(fd);
        if (attempt == LockAttempt::Taken) {
            fd_ = fd;
            return true;
        }
        heldElsewhere = attempt == LockAttempt::HeldElsewhere;
    }
    if (fd >= 0)
        ::close(fd);
    if (heldElsewhere)
        return false;
    throw VbError(VbErr::PermissionDenied, VbErrorText(VbErr::PermissionDenied) + QStringLiteral(": ") + lockFilePath);
}

void InstanceLock::Release()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}
