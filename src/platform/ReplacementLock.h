#pragma once
// Keeps the replacements of one shared file apart (two users saving one project at the
// same moment): an advisory lock (flock) on a file beside it, which each replacement
// holds from its last check of the file to its rename. The lock file stays there, since
// removing it would let two replacements lock two files of one name; the program takes
// it for no partial file of its own.
#include <QString>

class ReplacementLock {
public:
    // The lock file of the file a replacement of target writes (the one a link names).
    static QString LockFile(const QString& target);

    // Opens the lock file (made when missing), without following a link: the folder may
    // be one that others write. A file made here may be read and written by those who may
    // write its folder, and by nobody else: only who may replace the file may hold up its
    // replacements. Error 70 (refused), 76 (no folder) or 75 naming the lock file and the
    // cause when it cannot be opened.
    explicit ReplacementLock(const QString& target);
    ~ReplacementLock();
    ReplacementLock(const ReplacementLock&) = delete;
    ReplacementLock& operator=(const ReplacementLock&) = delete;

    // Takes the lock when nobody holds it; false when someone does. A file system that
    // has no such locks is error 75 naming the lock file and the cause.
    bool TryLock();

private:
    QString path_;
    int fd_ = -1;
};
