#pragma once
// What a file holds at a moment, to tell later whether it was replaced or written
// since: its size, the time of its last change, its owner and a checksum of its bytes,
// and what a look at it (stat) tells, so that a file nobody touched since is known as
// such without reading it.
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

// What stat tells of a file. While all of it stays, so do its bytes: a write changes
// the modification and the change time (the latter nobody can set), a replacement the
// inode.
struct FileStamp {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t changedNs = 0;     // ns since the epoch
    int64_t modifiedNs = 0;    // ns since the epoch
    bool operator==(const FileStamp&) const = default;
};

struct FileState {
    int64_t size = 0;
    int64_t modifiedMs = 0;    // ms since the epoch
    uint32_t owner = 0;        // user id
    QByteArray checksum;       // SHA-256, in hexadecimal
    std::optional<FileStamp> stamp;   // not known for a state an older version kept

    // Same content: the change time and owner may differ (a copy, a touch) without it.
    bool sameContent(const FileState& other) const { return size == other.size && checksum == other.checksum; }
    QDateTime modified() const { return QDateTime::fromMSecsSinceEpoch(modifiedMs); }
};

// The state of a file, links followed; nothing when it cannot be read or is no regular
// file (which is not opened: a named pipe would wait for a writer).
std::optional<FileState> StateOfFile(const QString& path);
// The state of the file at path now, when its content differs from known's; nothing when
// it is the same, or cannot be read. A file whose look (size and stamp) is still known's
// is not read.
std::optional<FileState> ChangedSince(const QString& path, const FileState& known);
// The state once its file has been renamed to path or had its permissions set, which
// change its change time alone: stamped as that file is now. When path shows another
// file, or one written since, the stamp is left unknown (the next check reads it).
FileState MovedTo(FileState state, const QString& path);

// A database is read and replaced only as a regular file. A name that shows something
// else (links followed) is refused with error 75, naming it and what it shows (a folder,
// a named pipe, a socket, a device), without opening it: the open of a pipe waits for a
// writer, that of a device may act on it. A name that shows nothing passes: whoever
// opens it finds that out.
void RefuseNoRegularFile(const QString& path);

// Which file a name shows: its device and inode, links followed.
struct FileId {
    uint64_t device = 0;
    uint64_t inode = 0;
    bool operator==(const FileId&) const = default;
};
// The file a name shows now; nothing when it shows none.
std::optional<FileId> FileIdOf(const QString& path);
// The file that open (a call that opens path by its name) opened: the one the name
// showed before and after the call; nothing when another file took the name meanwhile.
std::optional<FileId> FileOpenedBy(const QString& path, const std::function<void()>& open);
