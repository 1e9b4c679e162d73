// Copying, compacting and creating database files.
#include "platform/DatabaseFiles.h"
#include "platform/VbError.h"
#include "setup/SchemaText.h"
#include "support/TestHelpers.h"
#include "support/TestSuite.h"
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <functional>

namespace {

void fillE3(Connection& cnn, int rows)
{
    cnn.Execute(QStringLiteral("BEGIN"));
    for (int i = 0; i < rows; ++i)
        cnn.Execute(QStringLiteral("INSERT INTO E3 (ID, K, I1, Z, KF) VALUES (?, 1, ?, ?, 0.0001)"),
                    {int32_t(1), int32_t(i), float(i) / 4});
    cnn.Execute(QStringLiteral("COMMIT"));
}

} // namespace

TEST(DatabaseFiles, CopyTakesTheCommittedStateWhileTheSourceIsOpen)
{
    TempProject p;
    fillE3(*p.cnnX(), 50);
    const QString target = p.folder() + QStringLiteral("/copy.mdb");
    // Into a new file, while the source connection stays open.
    CopyDatabase(p.projectDbPath(), target);
    auto copy = OpenDatabase(target);
    EXPECT_EQ(CLng(ScalarOf(copy, QStringLiteral("SELECT count(*) FROM E3"))), 50);
    copy->Close();

    // Over an existing database: replaced as a whole, by what is committed.
    p.exec(QStringLiteral("DELETE FROM E3 WHERE I1>=10"));
    p.exec(QStringLiteral("BEGIN"));
    p.exec(QStringLiteral("DELETE FROM E3 WHERE I1>=5"));
    CopyDatabase(p.projectDbPath(), target);
    p.exec(QStringLiteral("COMMIT"));
    copy->Reopen();
    EXPECT_EQ(CLng(ScalarOf(copy, QStringLiteral("SELECT count(*) FROM E3"))), 10);
    EXPECT_TRUE(p.cnnX()->isOpen());
}

TEST(DatabaseFiles, CopyOfAMissingFileFailsAndCreatesNothing)
{
    TempProject p;
    const QString target = p.folder() + QStringLiteral("/copy.mdb");
    EXPECT_EQ(VbErrorOf([&] { CopyDatabase(p.folder() + QStringLiteral("/none.mdb"), target); }), VbErr::FileNotFound);
    EXPECT_FALSE(QFileInfo::exists(target));
    // A target in a missing folder cannot be opened: an error, and (under the
    // sanitizer) no handle left behind.
    const QString unreachable = p.folder() + QStringLiteral("/missing/copy.mdb");
    EXPECT_EQ(VbErrorOf([&] { CopyDatabase(p.projectDbPath(), unreachable); }), VbErr::DbGeneral);
    EXPECT_FALSE(QFileInfo::exists(unreachable));
}

TEST(DatabaseFiles, CompactionKeepsTheConnectionObjectAndTheData)
{
    TempProject p;
    fillE3(*p.cnnX(), 2000);
    p.exec(QStringLiteral("DELETE FROM E3 WHERE I1>=100"));
    const qint64 before = QFileInfo(p.projectDbPath()).size();
    Connection* const object = p.cnnX().get();
    const QString temp = p.folder() + QStringLiteral("/PROJEKTE/TE0000.00/TREMOLTEMP.mdb");

    CompactDatabase(*p.cnnX(), temp);

    EXPECT_EQ(p.cnnX().get(), object);
    EXPECT_TRUE(p.cnnX()->isOpen());
    EXPECT_EQ(p.cnnX()->path(), p.projectDbPath());
    EXPECT_FALSE(QFileInfo::exists(temp));
    EXPECT_LT(QFileInfo(p.projectDbPath()).size(), before);
    EXPECT_EQ(CLng(p.scalar(QStringLiteral("SELECT count(*) FROM E3"))), 100);
    EXPECT_EQ(p.scalar(QStringLiteral("SELECT [Z] FROM [E3] WHERE [I1]=99")), Variant(24.75f));
    // The reopened connection is a full program connection again.
    p.exec(QStringLiteral("INSERT INTO E1 (ID, KEN) VALUES (1, 'ÄB')"));
    EXPECT_EQ(CLng(p.scalar(QStringLiteral("SELECT [ID] FROM [E1] WHERE [KEN]='äb'"))), 1);
}

TEST(DatabaseFiles, AFailedCompactionLeavesTheOriginalInUse)
{
    TempProject p;
    fillE3(*p.cnnX(), 10);
    const QString temp = p.folder() + QStringLiteral("/kein/Ordner/TREMOLTEMP.mdb");
    EXPECT_NE(VbErrorOf([&] { CompactDatabase(*p.cnnX(), temp); }), 0);
    EXPECT_TRUE(p.cnnX()->isOpen());
    EXPECT_EQ(CLng(p.scalar(QStringLiteral("SELECT count(*) FROM E3"))), 10);
}

TEST(DatabaseFiles, CreateMakesANewDatabaseOnly)
{
    TempProject p;
    const QString path = p.folder() + QStringLiteral("/neu.mdb");
    CreateDatabase(path, archiveSchema);
    auto cnn = OpenDatabase(path);
    EXPECT_EQ(CLng(ScalarOf(cnn, QStringLiteral("SELECT count(*) FROM ADMIN"))), 0);
    cnn->Close();
    const qint64 size = QFileInfo(path).size();
    EXPECT_EQ(VbErrorOf([&] { CreateDatabase(path, presetsSchema); }), VbErr::DbGeneral);
    EXPECT_EQ(QFileInfo(path).size(), size);
    // A faulty script leaves no file behind.
    const QString faulty = p.folder() + QStringLiteral("/faulty.mdb");
    EXPECT_EQ(VbErrorOf([&] { CreateDatabase(faulty, "CREATE TABLE X (ID INTEGER); CREATE TABLE X (ID INTEGER);"); }),
              VbErr::DbGeneral);
    EXPECT_FALSE(QFileInfo::exists(faulty));
}
