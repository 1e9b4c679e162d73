#pragma once
// What a file holds at a moment, to tell later whether it was replaced or written
// since: its size, the time of its last change, its owner and a checksum of its bytes.
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

struct FileState {
    int64_t size = 0;
    int64_t modifiedMs = 0;    // ms since the epoch
    uint32_t owner = 0;        // user id
    QByteArray checksum;       // SHA-256, in hexadecimal

    // Same content: the change time and owner may differ (a copy, a touch) without it.
    bool sameContent(const FileState& other) const { return size == other.size && checksum == other.checksum; }
    QDateTime modified() const { return QDateTime::fromMSecsSinceEpoch(modifiedMs); }
};

// The state of a file, links followed; nothing when it cannot be read.
std::optional<FileState> StateOfFile(const QString& path);
