#pragma once
// A per-user lock file, so that two running copies of the program never share one
// working copy. The lock is the system's (flock), held as long as the process keeps the
// file open: a process that no longer runs holds none. The file stays; it is opened
// without following a link at its name.
#include <QString>

class InstanceLock {
public:
    InstanceLock() = default;
    ~InstanceLock() { Release(); }
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another running process holds the lock; a lock file that cannot be
    // opened or locked at all (a link, no regular file, no right) is error 70 naming it,
    // so that it is not mistaken for another running copy.
    bool Acquire(const QString& lockFilePath);
    void Release();
    bool Held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};
