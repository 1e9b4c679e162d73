#include "InstanceLock.h"
#include <QLockFile>

InstanceLock::InstanceLock() = default;

InstanceLock::~InstanceLock() = default;

bool InstanceLock::Acquire(const QString& lockFilePath)
{
    Release();
    auto lock = std::make_unique<QLockFile>(lockFilePath);
    // Only a dead owner makes a lock stale, never its age: a run may last for days.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return false;
    lock_ = std::move(lock);
    return true;
}

void InstanceLock::Release()
{
    lock_.reset();
}
