#include "InstanceLock.h"
#include "VbError.h"
#include <QLockFile>

InstanceLock::InstanceLock() = default;

InstanceLock::~InstanceLock() = default;

bool InstanceLock::Acquire(const QString& lockFilePath)
{
    Release();
    auto lock = std::make_unique<QLockFile>(lockFilePath);
    // Only a dead owner makes a lock stale, never its age: a run may last for days.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        if (lock->error() == QLockFile::LockFailedError)
            return false;
        throw VbError(VbErr::PermissionDenied, VbErrorText(VbErr::PermissionDenied) + QStringLiteral(": ") + lockFilePath);
    }
    lock_ = std::move(lock);
    return true;
}

void InstanceLock::Release()
{
    lock_.reset();
}
