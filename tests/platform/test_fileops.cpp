// File names the system would read otherwise: a NUL ends a name for the system, so a
// name with one inside must never reach another file through the part before it.
#include "platform/FileOps.h"
#include "support/TestHelpers.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(FileOps, ANameWithANulIsRefusedAndNoOtherFileIsTouched)
{
    QTemporaryDir dir;
    const QString kept = dir.filePath(QStringLiteral("a"));
    {
        QFile f(kept);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("kept");
    }
    const QString nul = kept + QChar(0) + QStringLiteral("b");
    const QString other = dir.filePath(QStringLiteral("c"));
    QFile::copy(kept, other);
    struct Case {
        const char* name;
        std::function<void()> call;
        int32_t error;
    };
    const Case cases[] = {
        {"delete", [&] { DeleteFile(nul); }, VbErr::FileNotFound},   // no file is named so
        {"rename from", [&] { MoveFile(nul, dir.filePath(QStringLiteral("d"))); }, VbErr::FileNotFound},
        {"rename to", [&] { MoveFile(other, nul); }, VbErr::BadFileName},
        {"put in place", [&] { PutInPlace(other, nul); }, VbErr::BadFileName},
        {"sync", [&] { SyncFile(nul); }, VbErr::BadFileName},
        {"length", [&] { FileLen(nul); }, VbErr::BadFileName},
        {"create folder", [&] { CreateFolder(nul); }, VbErr::BadFileName},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(VbErrorOf(c.call), c.error);
        EXPECT_EQ(BytesOf(kept), QByteArray("kept"));
        EXPECT_EQ(BytesOf(other), QByteArray("kept"));
    }
    EXPECT_FALSE(FileExists(nul));
    EXPECT_FALSE(FolderExists(dir.path() + QChar(0)));
    EXPECT_FALSE(SameFile(nul, kept));
    EXPECT_TRUE(SubFolders(dir.path() + QChar(0)).isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{QStringLiteral("a"), QStringLiteral("c")}));
}
