#pragma once
// The lock of a file's replacements (as ReplacementLock takes it) held by another
// process, as the program of another user holds it, or one that hangs: taken when made,
// given up only when freed (the process ends) or at the end of the scope. The process
// never outlives the test program, nor a minute.
#include <QString>
#include <sys/types.h>

class OtherProcessLock {
public:
    explicit OtherProcessLock(const QString& target);
    ~OtherProcessLock();
    OtherProcessLock(const OtherProcessLock&) = delete;
    OtherProcessLock& operator=(const OtherProcessLock&) = delete;

    // Whether the other process holds the lock.
    bool Held() const { return held_; }
    // Ends the other process; the lock is free when this returns.
    void Free();

private:
    pid_t pid_ = -1;
    int release_ = -1;   // the end of the pipe whose closing ends the other process
    bool held_ = false;
};
