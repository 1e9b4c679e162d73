#pragma once
// A per-user lock file, so that two running copies of the program never share one
// working copy. A lock left by a process that no longer runs is taken over.
#include <QString>
#include <memory>

class QLockFile;

class InstanceLock {
public:
    InstanceLock();
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when a running process holds the lock file; a lock file that cannot be
    // written at all is error 70, so that it is not mistaken for another running copy.
    bool Acquire(const QString& lockFilePath);
    void Release();
    bool Held() const { return lock_ != nullptr; }

private:
    std::unique_ptr<QLockFile> lock_;
};
