#include "InstanceLock.h"
#include "FileOps.h"
#include "VbError.h"
#include <cerrno>
#include <unistd.h>

bool InstanceLock::Acquire(const QString& lockFilePath)
{
    Release();
    const int fd = OpenOrMakeFile(lockFilePath, 0644);
    bool heldElsewhere = false;
    if (fd >= 0) {
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
