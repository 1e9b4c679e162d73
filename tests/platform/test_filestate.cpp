// What a file held at a moment, and whether it changed since: a file nobody touched is
// known by a look at it, without reading it; anything else is read and compared by its
// checksum, which is the one earlier versions kept.
#include "platform/FileState.h"
#include "support/TestHelpers.h"
#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

void Write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

} // namespace

TEST(FileState, TheChecksumIsTheSha256OfTheBytesAsKeptBefore)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TREMOL.mdb"));
    QByteArray bytes;
    for (int i = 0; i < 3'000'000; ++i)
        bytes += char(i * 7 % 251);
    Write(path, bytes);
    const std::optional<FileState> state = StateOfFile(path);
    ASSERT_TRUE(state);
    EXPECT_EQ(state->checksum, QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
    EXPECT_EQ(state->size, bytes.size());
    ASSERT_TRUE(state->stamp);
    EXPECT_FALSE(StateOfFile(dir.filePath(QStringLiteral("fehlt"))));
}

// What ChangedSince reads shows in a state whose checksum no file has: it is taken for
// the file's only while the look at the file still fits it.
TEST(FileState, OnlyAFileWhoseLookChangedIsRead)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TREMOL.mdb"));
    Write(path, "erster Stand");
    const FileState first = *StateOfFile(path);
    FileState untrue = first;
    untrue.checksum = QByteArray(64, '0');

    // Untouched: not read.
    EXPECT_FALSE(ChangedSince(path, untrue));
    EXPECT_FALSE(ChangedSince(path, first));
    // Without a stamp (a state an older version kept) it is read.
    FileState older = untrue;
    older.stamp.reset();
    EXPECT_TRUE(ChangedSince(path, older));
    FileState olderTrue = first;
    olderTrue.stamp.reset();
    EXPECT_FALSE(ChangedSince(path, olderTrue));

    // Touched but the same bytes: read, and found the same.
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
    f.close();
    EXPECT_TRUE(ChangedSince(path, untrue));
    EXPECT_FALSE(ChangedSince(path, first));

    // Written, the size and even the modification time as before: read, and changed.
    Write(path, "zweiter Std.");
    const timespec times[2] = {{0, UTIME_OMIT},
                               {time_t(first.stamp->modifiedNs / 1'000'000'000), long(first.stamp->modifiedNs % 1'000'000'000)}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
    const std::optional<FileState> changed = ChangedSince(path, first);
    ASSERT_TRUE(changed);
    EXPECT_EQ(changed->checksum, QCryptographicHash::hash("zweiter Std.", QCryptographicHash::Sha256).toHex());
    EXPECT_EQ(changed->modifiedMs, first.modifiedMs);

    // Replaced by another file of the same bytes: read, and found the same.
    const QString other = dir.filePath(QStringLiteral("neu"));
    Write(other, "erster Stand");
    ASSERT_EQ(::rename(QFile::encodeName(other).constData(), QFile::encodeName(path).constData()), 0);
    EXPECT_FALSE(ChangedSince(path, first));
    EXPECT_TRUE(ChangedSince(path, untrue));
}

// A new file's state taken before it is renamed into place, its permissions set on the
// way: after the move it is known by a look again; a file written since is not.
TEST(FileState, AMovedFileIsKnownByItsNewStamp)
{
    QTemporaryDir dir;
    const QString partial = dir.filePath(QStringLiteral("TREMOL.mdb.partial-1-00000001"));
    const QString path = dir.filePath(QStringLiteral("TREMOL.mdb"));
    Write(partial, "gespeichert");
    FileState written = *StateOfFile(partial);
    ASSERT_EQ(::chmod(QFile::encodeName(partial).constData(), 0640), 0);
    ASSERT_EQ(::rename(QFile::encodeName(partial).constData(), QFile::encodeName(path).constData()), 0);
    written.checksum = QByteArray(64, '0');   // shows a read
    EXPECT_TRUE(ChangedSince(path, written));
    const FileState moved = MovedTo(written, path);
    ASSERT_TRUE(moved.stamp);
    EXPECT_FALSE(ChangedSince(path, moved));

    Write(path, "von anderen");
    EXPECT_FALSE(MovedTo(written, path).stamp);
    EXPECT_FALSE(MovedTo(written, dir.filePath(QStringLiteral("fehlt"))).stamp);
}

// The file an open by name opened is the one the name showed before and after it; when
// another file took the name meanwhile (a save renaming its new file into place), which
// of them was opened is not known.
TEST(FileState, TheFileAnOpenByNameOpenedIsKnownOnlyWhileTheNameKeptIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TREMOL.mdb"));
    const QString other = dir.filePath(QStringLiteral("neu"));
    Write(path, "alt");
    Write(other, "neu");
    const std::optional<FileId> old = FileIdOf(path);
    ASSERT_TRUE(old);
    EXPECT_EQ(FileOpenedBy(path, [] {}), old);
    EXPECT_FALSE(FileOpenedBy(path, [&] {
        ASSERT_EQ(::rename(QFile::encodeName(other).constData(), QFile::encodeName(path).constData()), 0);
    }));
    EXPECT_NE(FileIdOf(path), old);
    EXPECT_FALSE(FileOpenedBy(dir.filePath(QStringLiteral("fehlt")), [] {}));
    EXPECT_FALSE(FileIdOf(dir.filePath(QStringLiteral("fehlt"))));
}
