// Copying, compacting and creating database files.
#include "platform/DatabaseFiles.h"
#include "platform/DbError.h"
#include "platform/FileOps.h"
#include "platform/VbError.h"
#include "setup/SchemaText.h"
#include "support/OtherUser.h"
#include "support/TestHelpers.h"
#include "support/TestSuite.h"
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <thread>

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

// The new file is on the disk before the step that comes just before its rename (where
// a save takes the lock of the project's saves), so that this step holds others up for
// the last check and the rename only; the folder is synced after the rename.
TEST(DatabaseFiles, TheCopyIsSyncedBeforeTheStepBeforeItsRename)
{
    TempProject p;
    fillE3(*p.cnnX(), 50);
    const QString target = p.folder() + QStringLiteral("/copy.mdb");
    QStringList steps;
    SetSyncHook([&](const QString& path) { steps << path; });
    QString partial;
    CopyDatabase(p.projectDbPath(), target, {}, [&](const QString& file) {
        partial = file;
        steps << QStringLiteral("before the rename");
    });
    SetSyncHook(nullptr);
    const qsizetype synced = steps.indexOf(partial);
    EXPECT_TRUE(synced >= 0 && synced < steps.indexOf(QStringLiteral("before the rename")))
        << steps.join(u',').toStdString();
    EXPECT_EQ(QFileInfo(steps.last()).canonicalFilePath(), QFileInfo(p.folder()).canonicalFilePath());
}

TEST(DatabaseFiles, CopyOfAMissingFileFailsAndCreatesNothing)
{
    TempProject p;
    const QString target = p.folder() + QStringLiteral("/copy.mdb");
    EXPECT_EQ(VbErrorOf([&] { CopyDatabase(p.folder() + QStringLiteral("/none.mdb"), target); }), VbErr::FileNotFound);
    EXPECT_FALSE(QFileInfo::exists(target));
    // A target in a missing folder: the path is not found.
    const QString unreachable = p.folder() + QStringLiteral("/missing/copy.mdb");
    EXPECT_EQ(VbErrorOf([&] { CopyDatabase(p.projectDbPath(), unreachable); }), VbErr::PathNotFound);
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

namespace {

// What failed copies could leave beside their target: partial files and journals.
QStringList LeftOvers(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*.partial-*"), QStringLiteral("*-journal")}, QDir::Files);
}

QString ErrorTextOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const VbError& e) {
        return e.text();
    }
    return QString();
}

} // namespace

TEST(DatabaseFiles, AFailedCopyLeavesTheTargetAsItWasAndSaysWhy)
{
    TempProject p;
    fillE3(*p.cnnX(), 2000);
    const QString target = p.folder() + QStringLiteral("/target.mdb");
    CopyDatabase(p.projectDbPath(), target);   // the good copy a failed one must not harm
    p.exec(QStringLiteral("INSERT INTO E1 (ID, KEN) VALUES (5, 'neu')"));
    const QByteArray before = BytesOf(target);
    const QString empty = p.folder() + QStringLiteral("/empty.mdb");
    QFile(empty).open(QIODevice::WriteOnly);
    const QString presets = p.folder() + QStringLiteral("/DATEN/VORGABE.mdb");
    // A file with one page zeroed (the last, a page of E3's rows): its tables are all
    // there and SQLite's backup copies it without a word; only a check of every page
    // finds the damage.
    const QString damaged = p.folder() + QStringLiteral("/damaged.mdb");
    ASSERT_TRUE(QFile::copy(p.projectDbPath(), damaged));
    {
        QFile f(damaged);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        const QByteArray header = f.read(18);
        const int stored = uchar(header[16]) << 8 | uchar(header[17]);
        const int pageSize = stored == 1 ? 65536 : stored;
        ASSERT_GT(f.size() / pageSize, 2);
        ASSERT_TRUE(f.seek(f.size() - pageSize));
        f.write(QByteArray(pageSize, '\0'));
    }
    ASSERT_TRUE(IsDatabaseWithTables(damaged, {QStringLiteral("E1"), QStringLiteral("E3")}));
    // A file whose index no longer matches its table: every page is sound, so SQLite's
    // quick check passes it, while a lookup through the index finds the wrong rows.
    const QString staleIndex = p.folder() + QStringLiteral("/staleindex.mdb");
    ASSERT_TRUE(QFile::copy(p.projectDbPath(), staleIndex));
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open_v2(staleIndex.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db,
                               "PRAGMA writable_schema=ON;"
                               "UPDATE sqlite_master SET sql='CREATE INDEX E3_ID ON E3 (ID, K, Z)' WHERE name='E3_ID'",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close_v2(db);
    }
    const struct {
        const char* name;
        QString source;
        rlim_t fileSizeLimit;
        const char* cause;
    } cases[] = {
        {"empty source", empty, RLIM_INFINITY, "Die Datei ist keine gültige Datenbank."},
        {"source without the record tables", presets, RLIM_INFINITY, "Der Datenbank fehlt die Tabelle E1."},
        {"a page of the source zeroed", damaged, RLIM_INFINITY, "Die Datei ist keine gültige Datenbank."},
        {"an index of the source stale", staleIndex, RLIM_INFINITY, "Die Datei ist keine gültige Datenbank."},
        {"disk full", p.projectDbPath(), rlim_t(before.size() / 2), "Auf dem Datenträger ist kein Platz mehr frei."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QString text;
        {
            const FileSizeLimit limit(c.fileSizeLimit);
            text = ErrorTextOf([&] { CopyDatabase(c.source, target, {{QStringLiteral("E1")}}); });
        }
        EXPECT_TRUE(text.endsWith(QString::fromUtf8(c.cause))) << text.toStdString();
        EXPECT_EQ(BytesOf(target), before);
        EXPECT_EQ(LeftOvers(p.folder()), QStringList());
    }
}

TEST(DatabaseFiles, ALockedSourceIsWaitedForOnlyAsLongAsTheTimeout)
{
    TempProject p;
    fillE3(*p.cnnX(), 10);
    const QString source = p.projectDbPath();
    const QString target = p.folder() + QStringLiteral("/copy.mdb");
    // Another program writing the source: an exclusive lock held for a while.
    // It holds the lock for the given time, or until released.
    std::atomic<bool> locked{false}, release{false};
    const auto holdLock = [&](int ms) {
        locked = false;
        release = false;
        return std::thread([&locked, &release, source, ms] {
            sqlite3* db = nullptr;
            sqlite3_open_v2(source.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
            sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
            locked = true;
            const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
            while (!release && std::chrono::steady_clock::now() < end)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
            sqlite3_close_v2(db);
        });
    };
    const auto waitLocked = [&] {
        while (!locked)
            std::this_thread::yield();
    };

    std::thread shortLock = holdLock(500);
    waitLocked();
    QElapsedTimer t;
    t.start();
    CopyDatabase(source, target, {{}, 5});   // released while the copy waits
    EXPECT_GE(t.elapsed(), 300);
    shortLock.join();
    auto copy = OpenDatabase(target);
    EXPECT_EQ(CLng(ScalarOf(copy, QStringLiteral("SELECT count(*) FROM E3"))), 10);
    copy->Close();

    // A lock held far longer than the copy's timeout, and let go once the copy is back:
    // the copy gives up after its timeout, with room for a loaded machine, and long
    // before the lock would end.
    std::thread longLock = holdLock(30000);
    waitLocked();
    t.start();
    const QString text = ErrorTextOf([&] { CopyDatabase(source, target, {{}, 1}); });
    const qint64 waited = t.elapsed();
    release = true;
    longLock.join();
    EXPECT_GE(waited, 800);
    EXPECT_LT(waited, 15000);
    EXPECT_TRUE(text.endsWith(QStringLiteral("Die Datenbank wird von einem anderen Programm benutzt.")))
        << text.toStdString();
}

namespace {

// A write cut short in the project database: the file and its journal copied to file and
// journal as a crash in the middle of a large transaction leaves them, with changed pages
// already in the file.
void CopyCutShortWrite(TempProject& p, const QString& file, const QString& journal)
{
    p.exec(QStringLiteral("BEGIN"));
    p.exec(QStringLiteral("DELETE FROM E3"));
    p.exec(QStringLiteral("CREATE TABLE BALLAST (B BLOB)"));
    p.exec(QStringLiteral("INSERT INTO BALLAST SELECT zeroblob(4000) FROM (WITH RECURSIVE n(i) AS "
                          "(SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) SELECT i FROM n)"));
    ASSERT_TRUE(QFile::copy(p.projectDbPath(), file));
    ASSERT_TRUE(QFile::copy(p.projectDbPath() + QStringLiteral("-journal"), journal));
    p.exec(QStringLiteral("ROLLBACK"));
}

} // namespace

TEST(DatabaseFiles, CopyReadsASourceLeftWithAHotJournal)
{
    TempProject p;
    fillE3(*p.cnnX(), 10);
    const QString crashed = p.folder() + QStringLiteral("/crashed.mdb");
    CopyCutShortWrite(p, crashed, crashed + QStringLiteral("-journal"));

    const QString target = p.folder() + QStringLiteral("/copy.mdb");
    CopyDatabase(crashed, target, {{QStringLiteral("E3")}});

    auto copy = OpenDatabase(target);
    EXPECT_EQ(CLng(ScalarOf(copy, QStringLiteral("SELECT count(*) FROM E3"))), 10);
    copy->Close();
}

// A journal beside the file a copy replaces was written for that file: SQLite would roll
// a hot one back into the new file at its next open, bringing old pages into it.
TEST(DatabaseFiles, AJournalBesideTheTargetIsSettledInTheOldFileBeforeTheNewOneTakesItsPlace)
{
    TempProject p;
    fillE3(*p.cnnX(), 10);
    // The target as a write cut short leaves it, its journal kept aside until a reader
    // holds the file.
    const QString target = p.folder() + QStringLiteral("/target.mdb");
    const QString journal = target + QStringLiteral("-journal");
    CopyCutShortWrite(p, target, p.folder() + QStringLiteral("/kept"));
    p.exec(QStringLiteral("INSERT INTO E1 (ID, KEN) VALUES (5, 'neu')"));

    // Another program reading the old file: the journal cannot be rolled back, and the
    // copy is refused with everything as it was.
    auto reader = OpenDatabase(target);
    reader->Execute(QStringLiteral("BEGIN"));
    ScalarOf(reader, QStringLiteral("SELECT count(*) FROM sqlite_master"));
    ASSERT_TRUE(QFile::copy(p.folder() + QStringLiteral("/kept"), journal));
    const QByteArray before = BytesOf(target), journalBefore = BytesOf(journal);
    const QString text = ErrorTextOf([&] { CopyDatabase(p.projectDbPath(), target, {{}, 1}); });
    EXPECT_TRUE(text.startsWith(journal + QStringLiteral(": Das Journal eines abgebrochenen Schreibvorgangs")))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("Die Datenbank wird von einem anderen Programm benutzt.")))
        << text.toStdString();
    EXPECT_EQ(BytesOf(target), before);
    EXPECT_EQ(BytesOf(journal), journalBefore);
    EXPECT_EQ(LeftOvers(p.folder()), QStringList{QFileInfo(journal).fileName()});
    reader->Execute(QStringLiteral("COMMIT"));
    reader->Close();

    // Once it can be: the new file alone takes the name, as it was copied.
    CopyDatabase(p.projectDbPath(), target);
    EXPECT_EQ(LeftOvers(p.folder()), QStringList());
    auto copy = OpenDatabase(target);
    EXPECT_EQ(CLng(ScalarOf(copy, QStringLiteral("SELECT count(*) FROM E3"))), 10);
    EXPECT_EQ(CLng(ScalarOf(copy, QStringLiteral("SELECT count(*) FROM E1 WHERE KEN='neu'"))), 1);
    EXPECT_EQ(CStr(ScalarOf(copy, QStringLiteral("PRAGMA integrity_check"))), QStringLiteral("ok"));
    copy->Close();
}

TEST(DatabaseErrors, KnownCausesInTheProgramsWordsByResultCode)
{
    TempProject p;
    const int32_t pages = CLng(p.scalar(QStringLiteral("PRAGMA page_count")));
    p.exec(QStringLiteral("PRAGMA max_page_count = %1").arg(pages));
    const auto grow = [&] { p.exec(QStringLiteral("INSERT INTO E1 (ID, KOM) VALUES (1, hex(zeroblob(100000)))")); };
    EXPECT_EQ(ErrorTextOf(grow), QStringLiteral("Auf dem Datenträger ist kein Platz mehr frei."));
    {
        const LocaleScope english(English());
        EXPECT_EQ(ErrorTextOf(grow), QStringLiteral("There is no space left on the disk."));
    }
    EXPECT_EQ(VbErrorOf(grow), VbErr::DbGeneral);

    // In use: another connection writes, and this one does not wait.
    auto writer = OpenDatabase(p.projectDbPath());
    writer->Execute(QStringLiteral("BEGIN EXCLUSIVE"));
    Connection reader;
    reader.ConnectionTimeout = 0;
    EXPECT_TRUE(ErrorTextOf([&] { reader.Open(JetConnectionString(p.projectDbPath())); })
                    .endsWith(QStringLiteral("Die Datenbank wird von einem anderen Programm benutzt.")));
    writer->Execute(QStringLiteral("COMMIT"));

    // A cause the program does not know keeps SQLite's message and number.
    EXPECT_EQ(VbErrorOf([&] { p.exec(QStringLiteral("SELECT * FROM NIX")); }), VbErr::DbUnknownTable);
    EXPECT_EQ(KnownDatabaseCause(SQLITE_READONLY_ROLLBACK, 0), QStringLiteral("Die Datenbank ist schreibgeschützt."));
    EXPECT_EQ(KnownDatabaseCause(SQLITE_IOERR_WRITE, ENOSPC), QStringLiteral("Auf dem Datenträger ist kein Platz mehr frei."));
    EXPECT_EQ(KnownDatabaseCause(SQLITE_ERROR, 0), QString());
}

// A target that is a symbolic link (to another disk, to a share) stays one: the file it
// names takes the copy, written and renamed beside it; a relative link is followed from
// its own folder, a chain of links to its end.
TEST(DatabaseFiles, ACopyIntoALinkReplacesTheFileItNamesAndKeepsTheLink)
{
    TempProject p;
    const QDir dir(p.folder());
    ASSERT_TRUE(dir.mkpath(QStringLiteral("projekt")) && dir.mkpath(QStringLiteral("platte")));
    const QString file = dir.filePath(QStringLiteral("platte/TREMOL.mdb"));
    const QString link = dir.filePath(QStringLiteral("projekt/TREMOL.mdb"));
    const QString chain = dir.filePath(QStringLiteral("projekt/KETTE.mdb"));
    for (const QString& target : {link, chain}) {
        SCOPED_TRACE(target.toStdString());
        QFile::remove(file);
        QFile::remove(link);
        QFile::remove(chain);
        CreateDatabase(file, projectSchema);
        ASSERT_TRUE(QFile::link(QStringLiteral("../platte/TREMOL.mdb"), link));
        ASSERT_TRUE(QFile::link(QStringLiteral("TREMOL.mdb"), chain));
        p.exec(QStringLiteral("DELETE FROM E1"));
        p.exec(QStringLiteral("INSERT INTO E1 (ID, KEN) VALUES (1, 'neu')"));

        CopyDatabase(p.projectDbPath(), target, {{QStringLiteral("E1")}});

        EXPECT_TRUE(QFileInfo(link).isSymLink());
        EXPECT_TRUE(QFileInfo(chain).isSymLink());
        auto cnn = OpenDatabase(file);
        EXPECT_EQ(CStr(ScalarOf(cnn, QStringLiteral("SELECT KEN FROM E1"))), QStringLiteral("neu"));
        cnn->Close();
        EXPECT_EQ(LeftOvers(dir.filePath(QStringLiteral("projekt"))), QStringList());
        EXPECT_EQ(LeftOvers(dir.filePath(QStringLiteral("platte"))), QStringList());
    }
}

// A file the user may not write is not replaced, though its folder would let a new
// file take its name: error 70 names it, and nothing is copied.
TEST(DatabaseFiles, AFileTheUserMayNotWriteIsRefusedAndKeptDirectOrThroughALink)
{
    REQUIRE_UNPRIVILEGED();
    TempProject p;
    OpenToAll(p.folder());
    const QString file = p.folder() + QStringLiteral("/geschuetzt.mdb");
    CopyDatabase(p.projectDbPath(), file);
    ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    const QString link = p.folder() + QStringLiteral("/verweis.mdb");
    ASSERT_TRUE(QFile::link(file, link));
    ::chmod(QFile::encodeName(p.projectDbPath()).constData(), 0644);
    p.exec(QStringLiteral("INSERT INTO E1 (ID, KEN) VALUES (5, 'neu')"));
    const QByteArray before = BytesOf(file);
    for (const QString& target : {file, link}) {
        SCOPED_TRACE(target.toStdString());
        int32_t number = 0;
        QString text;
        {
            const Unprivileged user;
            try {
                CopyDatabase(p.projectDbPath(), target);
            } catch (const VbError& e) {
                number = e.number();
                text = e.text();
            }
        }
        EXPECT_EQ(number, VbErr::PermissionDenied);
        EXPECT_EQ(text, QStringLiteral("Zugriff verweigert: ") + file);
        EXPECT_EQ(BytesOf(file), before);
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        EXPECT_EQ(LeftOvers(p.folder()), QStringList());
    }
}

// A file the user may write in a folder that takes no new file from him (another user's
// folder) is not replaced: the refusal names the file and what was refused, not the
// temporary file that could not be made.
TEST(DatabaseFiles, AFileInAFolderThatTakesNoNewFileIsRefusedNamingIt)
{
    TempProject p;
    OpenToAll(p.folder());
    const QString folder = p.folder() + QStringLiteral("/fremd");
    const QString file = folder + QStringLiteral("/TREMOL.mdb");
    ASSERT_TRUE(QDir().mkpath(folder));
    CopyDatabase(p.projectDbPath(), file);
    ::chmod(QFile::encodeName(file).constData(), 0666);
    ::chmod(QFile::encodeName(p.projectDbPath()).constData(), 0644);
    ::chmod(QFile::encodeName(folder).constData(), 0555);
    p.exec(QStringLiteral("INSERT INTO E1 (ID, KEN) VALUES (5, 'neu')"));
    const QByteArray before = BytesOf(file);
    REQUIRE_UNPRIVILEGED();
    int32_t number = 0;
    QString text;
    try {
        const Unprivileged user;
        CopyDatabase(p.projectDbPath(), file);
    } catch (const VbError& e) {
        number = e.number();
        text = e.text();
    }
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    EXPECT_EQ(number, VbErr::PermissionDenied);
    EXPECT_EQ(text, QStringLiteral("Zugriff verweigert: ") + file
                        + QStringLiteral("\r\nIhr Ordner nimmt keine neue Datei auf: Der Zugriff wurde verweigert."));
    EXPECT_EQ(BytesOf(file), before);
    EXPECT_EQ(LeftOvers(folder), QStringList());
}
