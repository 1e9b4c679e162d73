// The per-user working copy: set-up, recovery after an interrupted run, a
// left-over copy of another project, save back, the size offer and compaction.
#include "AppFixture.h"
#include "app/WorkingCopy.h"
#include "platform/DatabaseFiles.h"
#include "platform/FileOps.h"
#include "platform/Yield.h"
#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QRegularExpression>
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>


using WorkingCopyTest = AppFixture;

TEST_F(WorkingCopyTest, RecoveryQuestionYesKeepsTheCopyNoReplacesIt)
{
    for (const bool keep : {true, false}) {
        for (const bool english : {false, true}) {
            SCOPED_TRACE(std::string(keep ? "Yes" : "No") + (english ? " English" : " German"));
            LocaleScope locale(english ? English() : German());
            main.reset();
            dialogs->shown.clear();
            LeaveWorkingCopy(QStringLiteral("TE0000.00"), true);
            dialogs->msgAnswers = {keep ? MsgResult::Yes : MsgResult::No};

            ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
            const auto boxes = Boxes();
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].text,
                      english ? QStringLiteral("Program was interuped during the execution!\r\n"
                                               "Do you want to save the changes till the interuption?")
                              : QStringLiteral("Programm wurde während der Ausführung unterbrochen!\r\n"
                                               "Soll die bis zum Abbruch vorhandenen Daten gepeichert werden?"));
            EXPECT_EQ(boxes[0].title, QStringLiteral("TREMOL"));
            EXPECT_EQ(boxes[0].buttons, MsgButtons::YesNo);
            EXPECT_EQ(boxes[0].icon, MsgIcon::Question);
            EXPECT_EQ(RestRows(workingCopy()), keep ? 1 : 0);
            // Recovered work is not in the project yet: leaving asks to save it.
            EXPECT_EQ(main->Changed(), keep);

            if (keep)
                dialogs->msgAnswers = {MsgResult::Yes};
            main->mnuBEENDEN_Click();
            EXPECT_EQ(Boxes().size(), keep ? 2u : 1u);
            EXPECT_FALSE(FileExists(workingCopy()));
            EXPECT_EQ(RestRows(projectDb()), keep ? 1 : 0);
            Exec(projectDb(), QStringLiteral("DELETE FROM [E1] WHERE [KEN]='Rest'"));
        }
    }
}

TEST_F(WorkingCopyTest, CopyWithoutOriginMarkerIsOfferedAsBefore)
{
    LeaveWorkingCopy(QStringLiteral("TE0000.00"), false);
    dialogs->msgAnswers = {MsgResult::Yes};
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(RestRows(workingCopy()), 1);
}

// A marker that names this project under another spelling (through "..", or a link to
// its folder) names this project: the copy is offered, not set aside.
TEST_F(WorkingCopyTest, ACopyWhoseMarkerSpellsThisProjectOtherwiseIsOffered)
{
    const QString projects = QFileInfo(suite->projectsFolder()).canonicalFilePath();
    ASSERT_TRUE(QFile::link(projects + QStringLiteral("/TE0000.00"), projects + QStringLiteral("/verweis")));
    for (const QString& spelled : {projects + QStringLiteral("/TE0001.00/../TE0000.00/TREMOL.mdb"),
                                   projects + QStringLiteral("/verweis/TREMOL.mdb")}) {
        SCOPED_TRACE(spelled.toStdString());
        main.reset();
        dialogs->shown.clear();
        LeaveWorkingCopy(QStringLiteral("TE0000.00"), false);
        WriteOrigin(workingCopy(), {spelled, StateOfFile(projectDb())});
        dialogs->msgAnswers = {MsgResult::Yes};
        ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
        ASSERT_EQ(Boxes().size(), 1u);
        EXPECT_TRUE(Boxes()[0].text.startsWith(QStringLiteral("Programm wurde während der Ausführung unterbrochen!")))
            << Boxes()[0].text.toStdString();
        EXPECT_EQ(RestRows(workingCopy()), 1);
        EXPECT_EQ(QDir(userFolder()).entryList({QStringLiteral("TREMOL_*")}), QStringList());
        dialogs->msgAnswers = {MsgResult::No};
        main->mnuBEENDEN_Click();
    }
}

TEST_F(WorkingCopyTest, LeftOverCopyOfAnotherProjectIsMovedAsideNotOffered)
{
    LeaveWorkingCopy(QStringLiteral("TE0001.00"), true);
    dialogs->msgAnswers = {MsgResult::OK};

    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);

    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);   // a note, not the recovery question
    EXPECT_EQ(boxes[0].buttons, MsgButtons::OK);
    EXPECT_TRUE(boxes[0].text.contains(QStringLiteral("TE0001.00"))) << boxes[0].text.toStdString();
    // The fresh copy is this project's; the other project's data is kept aside.
    EXPECT_EQ(RestRows(workingCopy()), 0);
    EXPECT_EQ(CLng(Scalar(workingCopy(), QStringLiteral("SELECT COUNT(*) FROM [E1]"))),
              CLng(Scalar(projectDb(), QStringLiteral("SELECT COUNT(*) FROM [E1]"))));
    const QStringList aside = QDir(userFolder()).entryList({QStringLiteral("TREMOL_TE0001.00_*.mdb")});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(RestRows(userFolder() + QLatin1Char('/') + aside[0]), 1);
}

// Whatever a left-over copy's marker names, the copy is set aside under a name the system
// takes, without control characters, and the start goes on with a fresh working copy. The
// kept copy's name and the box take the other project's name only from a folder that
// exists; otherwise a fixed word stands in.
TEST_F(WorkingCopyTest, ALeftOverCopyIsSetAsideUnderASoundNameWhateverItsMarkerNames)
{
    const QString projects = QFileInfo(suite->projectsFolder()).canonicalFilePath() + QLatin1Char('/');
    const QString longName(240, QLatin1Char('L'));   // a folder's name too long for a kept copy's name
    const QString controlName = QStringLiteral("TE\x01\x1b[2J");
    for (const QString& folder : {longName, controlName})
        ASSERT_TRUE(QDir().mkpath(projects + folder));
    const struct {
        const char* name;
        QByteArray marker;
        QString project;   // named in the box; empty: unknown
    } cases[] = {
        {"project path with a NUL", (projects + QStringLiteral("TE0001.00")).toUtf8() + QByteArray("\0x/TREMOL.mdb", 13), {}},
        {"folder name of 300 characters", (projects + QString(300, QLatin1Char('a')) + QStringLiteral("/TREMOL.mdb")).toUtf8(), {}},
        {"control characters in an existing folder's name", (projects + controlName + QStringLiteral("/TREMOL.mdb")).toUtf8(), {}},
        {"garbage", QByteArray("\x01\x02/\x1b]0;M\x07/\xff\xfe\nsize=x\n"), {}},
        {"existing folder with a long name", (projects + longName + QStringLiteral("/TREMOL.mdb")).toUtf8(), longName},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        main.reset();
        dialogs->shown.clear();
        for (const QString& kept : QDir(userFolder()).entryList({QStringLiteral("TREMOL_*")}))
            QFile::remove(userFolder() + QLatin1Char('/') + kept);
        LeaveWorkingCopy(QStringLiteral("TE0001.00"), false);
        QFile marker(workingCopy() + QStringLiteral(".origin"));
        ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
        marker.write(c.marker);
        marker.close();
        dialogs->msgAnswers = {MsgResult::OK};

        ASSERT_EQ(Start(), frmMAIN::StartResult::Running);

        const QStringList aside = QDir(userFolder()).entryList({QStringLiteral("TREMOL_*")});
        ASSERT_EQ(aside.size(), 1) << aside.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^TREMOL_unbekannt_[0-9]{8}-[0-9]{6}\\.mdb$")).match(aside[0]).hasMatch())
            << aside[0].toStdString();
        const QString kept = userFolder() + QLatin1Char('/') + aside[0];
        EXPECT_EQ(RestRows(kept), 1);
        const auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, (c.project.isEmpty() ? QStringLiteral("Die Arbeitskopie eines unbekannten Projekts")
                                                      : QStringLiteral("Die Arbeitskopie des Projekts ") + c.project)
                                     + QStringLiteral(" aus einem unterbrochenen Lauf wurde aufbewahrt als ") + kept
                                     + QLatin1Char('.'));
        EXPECT_EQ(boxes[0].buttons, MsgButtons::OK);
        // The run goes on with the project's own fresh copy.
        ASSERT_TRUE(main->cnnX() && main->cnnX()->isOpen());
        EXPECT_EQ(RestRows(workingCopy()), 0);
        EXPECT_TRUE(main->isVisible());
    }
}

TEST_F(WorkingCopyTest, SaveCopiesBackClearsTheFlagAndEndsWithTheArrow)
{
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    main->cnnX()->Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (9,'Neu',0)"));
    main->MarkChanged();

    main->mnuSPEICHERN_Click();

    EXPECT_TRUE(Boxes().empty());
    EXPECT_FALSE(main->Changed());
    EXPECT_EQ(MousePointer(), 1);
    EXPECT_EQ(CLng(Scalar(projectDb(), QStringLiteral("SELECT COUNT(*) FROM [E1] WHERE [KEN]='Neu'"))), 1);
    EXPECT_TRUE(main->cnnX()->isOpen());
}

// What saves and compactions cut short (kill -9) leave behind goes at the next start
// or save: the compaction file in the own folder at once, partial copies beside the
// shared project database once they are too old to be another run's save in progress;
// files of other names stay.
TEST_F(WorkingCopyTest, LeftOversOfSavesAndCompactionsCutShortAreRemoved)
{
    const QString project = ParentFolder(projectDb()) + QLatin1Char('/');
    const auto files = [&] {
        QStringList names = QDir(project).entryList(QDir::Files);
        names.sort();
        return names.join(QLatin1Char(' ')).toStdString();
    };
    const auto leave = [](const QString& path, int ageSeconds) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("SQLite format 3");
        f.flush();
        ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime));
    };
    const QStringList old = {"TREMOL.mdb.partial-4711-0badc0de", "TREMOL.mdb.partial-4711-0badc0de-journal"};
    const QStringList others = {"TREMOL.mdb.partial-notizen.txt", "TREMOL.mdb.partial-1-NICHTHEX", "ANDERE.mdb.partial-1-0badc0de",
                                "TREMOL.mdb.partial-4711-0badc0de.bak"};
    for (const QString& name : old + others)
        leave(project + name, 2 * 3600);
    const QString young = QStringLiteral("TREMOL.mdb.partial-815-12345678");
    leave(project + young, 60);
    ASSERT_TRUE(QDir().mkpath(userFolder()));
    leave(KompressionsDatei(workingCopy()), 60);
    leave(KompressionsDatei(workingCopy()) + QStringLiteral("-journal"), 60);

    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    QStringList expected = others + QStringList{QStringLiteral("TREMOL.mdb"), young};
    expected.sort();
    EXPECT_EQ(files(), expected.join(QLatin1Char(' ')).toStdString());
    EXPECT_FALSE(FileExists(KompressionsDatei(workingCopy())));
    EXPECT_FALSE(FileExists(KompressionsDatei(workingCopy()) + QStringLiteral("-journal")));

    leave(project + young, 2 * 3600);   // the save it belonged to was cut short as well
    main->mnuSPEICHERN_Click();
    EXPECT_TRUE(Boxes().empty());
    expected.removeAll(young);
    expected << QStringLiteral("TREMOL.mdb.lock");   // the lock of the saves stays
    expected.sort();
    EXPECT_EQ(files(), expected.join(QLatin1Char(' ')).toStdString());
}

TEST_F(WorkingCopyTest, FailedSaveKeepsTheChangedFlag)
{
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    main->MarkChanged();
    ASSERT_TRUE(QDir(suite->projectsFolder() + QStringLiteral("/TE0000.00")).removeRecursively());
    dialogs->msgAnswers = {MsgResult::OK};

    main->mnuSPEICHERN_Click();

    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].text.startsWith(QStringLiteral("VB-Error: ")));
    EXPECT_EQ(boxes[0].title, QStringLiteral("&Speichern"));
    EXPECT_TRUE(main->Changed());
}

TEST(WorkingCopySizes, MegabytesRoundHalfToEvenAndCompactionPercent)
{
    EXPECT_EQ(GroesseMB(10040000), 10.0f);
    EXPECT_EQ(GroesseMB(10060000), 10.1f);
    EXPECT_EQ(GroesseMB(10050000), 10.0f);   // half to even
    EXPECT_EQ(GroesseMB(12345678), 12.3f);
    EXPECT_EQ(CStr(Variant(GroesseMB(10060000))), QStringLiteral("10,1"));
    EXPECT_EQ(CStr(Variant(GroesseMB(10000000))), QStringLiteral("10"));
    EXPECT_EQ(ProzentKomprimiert(12.4f, 8.1f), 34.7f);
    EXPECT_EQ(ProzentKomprimiert(0.0f, 0.0f), 0.0f);   // no division by zero
    EXPECT_EQ(KompressionsDatei(QStringLiteral("/home/anna/Stratega/BENUTZER/ANNA/TREMOL.mdb")),
              QStringLiteral("/home/anna/Stratega/BENUTZER/ANNA/TREMOLTEMP.mdb"));
    // Only the file's own extension is replaced, whatever folder names hold.
    EXPECT_EQ(KompressionsDatei(QStringLiteral("/data/alt.mdb/BENUTZER/ANNA/TREMOL.MDB")),
              QStringLiteral("/data/alt.mdb/BENUTZER/ANNA/TREMOLTEMP.mdb"));
}

class CompactionTest : public AppFixture {
protected:
    // Grows the working copy past size MB and frees most of it again.
    void Grow(int bytes, bool free)
    {
        auto& cnn = *main->cnnX();
        cnn.Execute(QStringLiteral("CREATE TABLE [BALLAST] ([B] BLOB)"));
        cnn.Execute(QStringLiteral("INSERT INTO [BALLAST] VALUES (zeroblob(%1))").arg(bytes));
        if (free)
            cnn.Execute(QStringLiteral("DELETE FROM [BALLAST]"));
    }
};

TEST_F(CompactionTest, LargeCopyOffersCompactionOnSave)
{
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    Grow(10200000, false);
    const float size = GroesseMB(FileLen(workingCopy()));
    ASSERT_GT(size, 10.0f);
    dialogs->msgAnswers = {MsgResult::No};

    main->mnuSPEICHERN_Click();

    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Datenbank hat ") + CStr(Variant(size))
                                 + QStringLiteral(" MB erreicht! \r\nSoll die Datei komprimiert werden?"));
    EXPECT_EQ(boxes[0].title, QStringLiteral("&Speichern"));
    EXPECT_EQ(boxes[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(boxes[0].helpContext, 34);
    EXPECT_EQ(boxes[0].helpFile, suite->programFolder() + QStringLiteral("/TREMOL.html"));
    EXPECT_EQ(FileLen(projectDb()), FileLen(workingCopy()));   // saved without compaction
}

TEST_F(CompactionTest, CompactionReportsAndKeepsTheSameConnectionWorking)
{
    LocaleScope locale(English());
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    Grow(3000000, true);
    const std::shared_ptr<Connection> heldByAView = main->cnnX();
    const float before = GroesseMB(FileLen(workingCopy()));
    dialogs->msgAnswers = {MsgResult::OK};

    main->mnuKOMPRIMIEREN_Click();

    const float after = GroesseMB(FileLen(workingCopy()));
    EXPECT_LT(after, before);
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Database was compact about ")
                                 + CStr(Variant(ProzentKomprimiert(before, after))) + QStringLiteral(" % to ")
                                 + CStr(Variant(after)) + QStringLiteral(" MB!"));
    EXPECT_EQ(boxes[0].title, QStringLiteral("Compact Database"));
    EXPECT_EQ(boxes[0].icon, MsgIcon::Information);
    EXPECT_FALSE(FileExists(KompressionsDatei(workingCopy())));
    EXPECT_EQ(MousePointer(), 0);
    // The connection a view took before the compaction still reads.
    EXPECT_EQ(main->cnnX(), heldByAView);
    Recordset rs;
    rs.Open(QStringLiteral("SELECT [KEN] FROM [E1] WHERE [AKT]=true"), heldByAView);
    ASSERT_FALSE(rs.Eof());
    EXPECT_EQ(CStr(rs.Fields(0).Value()), QStringLiteral("Beispiel"));
}

TEST_F(CompactionTest, FailedCompactionKeepsTheWorkingCopyAndTheConnection)
{
    for (const MsgResult answer : {MsgResult::OK, MsgResult::Cancel}) {
        SCOPED_TRACE(answer == MsgResult::OK ? "OK" : "Cancel");
        main.reset();
        dialogs->shown.clear();
        ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
        // The compaction file cannot be written: a folder holds its name.
        ASSERT_TRUE(QDir().mkpath(KompressionsDatei(workingCopy())));
        dialogs->msgAnswers = {answer};

        main->mnuKOMPRIMIEREN_Click();

        const auto boxes = Boxes();
        ASSERT_GE(boxes.size(), 1u);
        EXPECT_TRUE(boxes[0].text.startsWith(QStringLiteral("VB-Error: ")));
        EXPECT_EQ(boxes[0].title, QStringLiteral("&Komprimieren"));
        EXPECT_TRUE(FileExists(workingCopy()));
        ASSERT_TRUE(main->cnnX()->isOpen());
        EXPECT_EQ(CLng(Scalar(workingCopy(), QStringLiteral("SELECT COUNT(*) FROM [E1]"))), 2);
        EXPECT_EQ(MousePointer(), 0);
        QDir().rmdir(KompressionsDatei(workingCopy()));
        main->mnuBEENDEN_Click();
    }
}

namespace {

// The designations and the number of input rows of a project database.
QString Records(const QString& db)
{
    auto cnn = OpenDatabase(db);
    const QString records = CStr(ScalarOf(cnn, QStringLiteral("SELECT group_concat([KEN]) || '/' || (SELECT COUNT(*) "
                                                             "FROM [E3]) || '/' || (SELECT COUNT(*) FROM [E4]) FROM [E1]")));
    cnn->Close();
    return records;
}

} // namespace

TEST_F(WorkingCopyTest, LeftOverCopyThatIsNoDatabaseIsMovedAsideAndTheProjectSurvivesASave)
{
    // A start-up copy killed half-way left an empty working copy with its journal.
    ASSERT_TRUE(QDir().mkpath(userFolder()));
    QFile(workingCopy()).open(QIODevice::WriteOnly);
    QFile journal(workingCopy() + QStringLiteral("-journal"));
    ASSERT_TRUE(journal.open(QIODevice::WriteOnly));
    journal.write(QByteArray(512, '\x01'));
    journal.close();
    const QString project = Records(projectDb());
    ASSERT_FALSE(project.isEmpty());
    dialogs->msgAnswers = {MsgResult::OK};

    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);

    // Told, not asked; the fresh copy is the project's.
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].buttons, MsgButtons::OK);
    EXPECT_TRUE(boxes[0].text.startsWith(QStringLiteral("Die Arbeitskopie aus einem unterbrochenen Lauf ist keine "
                                                        "gültige Projektdatenbank.")))
        << boxes[0].text.toStdString();
    const QStringList aside = QDir(userFolder()).entryList({QStringLiteral("TREMOL_defekt_*")});
    ASSERT_EQ(aside.size(), 2);   // the file and its journal, kept together
    EXPECT_TRUE(boxes[0].text.contains(userFolder() + QLatin1Char('/') + aside[0]));
    EXPECT_FALSE(main->Changed());

    main->mnuSPEICHERN_Click();
    EXPECT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Records(projectDb()), project);
}

TEST_F(WorkingCopyTest, SaveRefusesWhatIsNoProjectDatabaseAndKeepsTheWorkingCopy)
{
    const struct {
        const char* name;
        std::function<void(frmMAIN&, const QString& copy)> spoil;
    } cases[] = {
        {"working connection closed", [](frmMAIN& m, const QString&) { m.cnnX()->Close(); }},
        {"record table missing",
         [](frmMAIN& m, const QString&) { m.cnnX()->Execute(QStringLiteral("DROP TABLE [E5]")); }},
        {"working copy emptied", [](frmMAIN&, const QString& copy) { QFile(copy).resize(0); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        main.reset();
        dialogs->shown.clear();
        QFile::remove(workingCopy());
        ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
        main->MarkChanged();
        const QByteArray project = BytesOf(projectDb());
        c.spoil(*main, workingCopy());
        dialogs->msgAnswers = {MsgResult::OK};

        main->mnuSPEICHERN_Click();

        const auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].title, QStringLiteral("&Speichern"));
        EXPECT_TRUE(boxes[0].text.endsWith(QStringLiteral("Die Projektdatenbank bleibt unverändert.")))
            << boxes[0].text.toStdString();
        EXPECT_EQ(BytesOf(projectDb()), project);
        EXPECT_TRUE(main->Changed());
        EXPECT_TRUE(FileExists(workingCopy()));
    }
}

// Whatever keeps the start from setting up an open working copy ends it as a refusal
// does, saying what failed and where: the main window never shows without one, and a
// fresh copy made meanwhile goes again.
TEST_F(WorkingCopyTest, FailedStartUpCopyEndsLikeARefusalWithNothingWritten)
{
    const QString marker = workingCopy() + QStringLiteral(".origin");
    const struct {
        const char* name;
        bool diskFull;
        std::function<void()> spoil;
        QString cause;
    } cases[] = {
        {"project database is no database", false, [&] { QFile(projectDb()).resize(0); },
         QStringLiteral("Die Datei ist keine gültige Datenbank.")},
        {"disk full", true, [] {}, QStringLiteral("Auf dem Datenträger ist kein Platz mehr frei.")},
        {"marker cannot be written", false,
         [&] { ASSERT_TRUE(QDir().mkpath(marker + QStringLiteral("/belegt"))); },
         marker + QStringLiteral(": Die Datei konnte nicht geschrieben werden.")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        main.reset();
        dialogs->shown.clear();
        const QByteArray project = BytesOf(projectDb());
        c.spoil();
        dialogs->msgAnswers = {MsgResult::OK};
        {
            const FileSizeLimit limit(c.diskFull ? rlim_t(project.size() / 2) : RLIM_INFINITY);
            EXPECT_EQ(Start(), frmMAIN::StartResult::Ended);
        }
        const auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_TRUE(boxes[0].text.startsWith(
            QStringLiteral("Die Arbeitskopie des Projekts TE0000.00 kann nicht angelegt werden:\r\n")));
        EXPECT_TRUE(boxes[0].text.endsWith(c.cause)) << boxes[0].text.toStdString();
        EXPECT_EQ(boxes[0].icon, MsgIcon::Exclamation);
        EXPECT_FALSE(main->isVisible());
        EXPECT_EQ(QDir(userFolder()).entryList(QDir::Files), QStringList{QStringLiteral("TREMOL.lock")});
        QFile restore(projectDb());
        ASSERT_TRUE(restore.open(QIODevice::WriteOnly));
        restore.write(project);
        QDir(marker).removeRecursively();
    }
}

namespace {

// Notes whether anyone opens a named pipe for reading and lets him go at once, as a
// writer that closes without a word would: a program that should never wait on the
// pipe then fails its test rather than hangs it. Anything else at the name is not
// watched.
class PipeWatch {
public:
    explicit PipeWatch(const QString& pipe) : pipe_(QFile::encodeName(pipe)), thread_([this] { Watch(); }) {}
    ~PipeWatch()
    {
        stop_ = true;
        thread_.join();
    }
    PipeWatch(const PipeWatch&) = delete;
    PipeWatch& operator=(const PipeWatch&) = delete;
    bool ReaderSeen() const { return seen_; }

private:
    void Watch()
    {
        struct stat st {};
        if (::lstat(pipe_.constData(), &st) != 0 || !S_ISFIFO(st.st_mode))
            return;
        while (!stop_) {
            // Opens only while someone holds the pipe open for reading.
            const int fd = ::open(pipe_.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                seen_ = true;
                ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    QByteArray pipe_;
    std::atomic<bool> stop_{false}, seen_{false};
    std::thread thread_;
};

void MakePipe(const QString& path)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
}

} // namespace

// A project database that is no regular file is refused at once, at the start and at a
// save, saying what it is; nothing opens it (a named pipe would keep the program waiting
// for a writer) or puts a copy in its place.
TEST_F(WorkingCopyTest, AProjectDatabaseThatIsNoRegularFileIsRefusedAtOnce)
{
    const QString cause = QStringLiteral(": Sie ist keine gewöhnliche Datei, sondern ");
    const struct {
        const char* name;
        std::function<void()> make;
        const char* what;
    } cases[] = {
        {"named pipe", [&] { MakePipe(projectDb()); }, "eine benannte Pipe."},
        {"folder", [&] { ASSERT_TRUE(QDir().mkdir(projectDb())); }, "ein Ordner."},
        {"link to a device", [&] { ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), projectDb())); }, "ein Gerät."},
    };
    const QString project = projectDb() + QStringLiteral(".sicher");
    ASSERT_TRUE(QFile::rename(projectDb(), project));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        main.reset();
        dialogs->shown.clear();
        c.make();
        dialogs->msgAnswers = {MsgResult::OK};
        {
            const PipeWatch watch(projectDb());
            EXPECT_EQ(Start(), frmMAIN::StartResult::Ended);
            EXPECT_FALSE(watch.ReaderSeen());
        }
        const auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text.toStdString(),
                  (QStringLiteral("Die Arbeitskopie des Projekts TE0000.00 kann nicht angelegt werden:\r\n") + projectDb()
                   + cause + QString::fromUtf8(c.what))
                      .toStdString());
        EXPECT_EQ(QDir(userFolder()).entryList(QDir::Files), QStringList{QStringLiteral("TREMOL.lock")});
        ASSERT_TRUE(QFile::remove(projectDb()) || QDir().rmdir(projectDb()));
    }

    // A pipe that took the project database's place after the start.
    ASSERT_TRUE(QFile::rename(project, projectDb()));
    main.reset();
    dialogs->shown.clear();
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    main->cnnX()->Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (9,'Neu',0)"));
    main->MarkChanged();
    ASSERT_TRUE(QFile::remove(projectDb()));
    MakePipe(projectDb());
    dialogs->msgAnswers = {MsgResult::OK};
    {
        const PipeWatch watch(projectDb());
        main->mnuSPEICHERN_Click();
        EXPECT_FALSE(watch.ReaderSeen());
    }
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.toStdString(),
              (QStringLiteral("VB-Error: 75\n") + projectDb() + cause
               + QStringLiteral("eine benannte Pipe.\r\nDie Projektdatenbank bleibt unverändert."))
                  .toStdString());
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(projectDb()).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_TRUE(main->Changed());
}

// A save that replaced the project and then could not write the marker says that it
// saved, and what the marker's failure means.
TEST_F(WorkingCopyTest, ASaveWhoseMarkerCannotBeWrittenSaysThatItSaved)
{
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    main->cnnX()->Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (9,'Neu',0)"));
    main->MarkChanged();
    const QString marker = workingCopy() + QStringLiteral(".origin");
    ASSERT_TRUE(QFile::remove(marker));
    ASSERT_TRUE(QDir().mkpath(marker + QStringLiteral("/belegt")));
    dialogs->msgAnswers = {MsgResult::OK};

    main->mnuSPEICHERN_Click();

    EXPECT_EQ(CLng(Scalar(projectDb(), QStringLiteral("SELECT COUNT(*) FROM [E1] WHERE [KEN]='Neu'"))), 1);
    EXPECT_FALSE(main->Changed());
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Das Projekt TE0000.00 wurde gespeichert.\r\nDie Markierung Ihrer Arbeitskopie "
                                            "konnte nicht geschrieben werden: ")
                                 + marker
                                 + QStringLiteral(": Die Datei konnte nicht geschrieben werden.\r\nSollte das Programm "
                                                  "vor seinem Ende unterbrochen werden, fragt das Speichern der beim "
                                                  "nächsten Start angebotenen Arbeitskopie, bevor es das Projekt "
                                                  "ersetzt."));
    EXPECT_EQ(boxes[0].title, QStringLiteral("&Speichern"));
    EXPECT_EQ(boxes[0].icon, MsgIcon::Exclamation);
    QDir(marker).removeRecursively();
}

TEST_F(WorkingCopyTest, SaveUnderAFullDiskLeavesTheProjectDatabaseByteForByte)
{
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    main->cnnX()->Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (9,'Neu',0)"));
    main->MarkChanged();
    const QByteArray project = BytesOf(projectDb());
    dialogs->msgAnswers = {MsgResult::OK};
    {
        const FileSizeLimit limit(rlim_t(project.size() / 2));
        main->mnuSPEICHERN_Click();
    }
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].text.contains(QStringLiteral("Auf dem Datenträger ist kein Platz mehr frei.\r\n"
                                                      "Die Projektdatenbank bleibt unverändert.")))
        << boxes[0].text.toStdString();
    EXPECT_EQ(BytesOf(projectDb()), project);
    EXPECT_EQ(QDir(ParentFolder(projectDb())).entryList(QDir::Files), QStringList{QStringLiteral("TREMOL.mdb")});
    EXPECT_TRUE(main->Changed());

    main->mnuSPEICHERN_Click();   // with room again the same save succeeds
    EXPECT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(CLng(Scalar(projectDb(), QStringLiteral("SELECT COUNT(*) FROM [E1] WHERE [KEN]='Neu'"))), 1);
}

TEST_F(CompactionTest, CompactionUnderAFullDiskKeepsTheWorkingCopyAndReportsNoSuccess)
{
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    Grow(3000000, true);
    const QByteArray copy = BytesOf(workingCopy());
    dialogs->msgAnswers = {MsgResult::OK};
    {
        const FileSizeLimit limit(16384);
        main->mnuKOMPRIMIEREN_Click();
    }
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);   // the error, and no report of a compaction
    EXPECT_EQ(boxes[0].title, QStringLiteral("&Komprimieren"));
    EXPECT_TRUE(boxes[0].text.contains(QStringLiteral("Auf dem Datenträger ist kein Platz mehr frei.\r\n"
                                                      "Die Arbeitskopie bleibt unverändert.")))
        << boxes[0].text.toStdString();
    EXPECT_EQ(BytesOf(workingCopy()), copy);
    EXPECT_FALSE(FileExists(KompressionsDatei(workingCopy())));
    EXPECT_FALSE(FileExists(KompressionsDatei(workingCopy()) + QStringLiteral("-journal")));
    ASSERT_TRUE(main->cnnX()->isOpen());
    EXPECT_EQ(CLng(Scalar(workingCopy(), QStringLiteral("SELECT COUNT(*) FROM [E1]"))), 2);
}

// A project database that is a link to a file that is not there: the start's one box
// names the missing file, not the link.
TEST_F(WorkingCopyTest, ADanglingLinkAtTheProjectDatabaseNamesTheMissingFile)
{
    const QString missing = root() + QStringLiteral("/platte/TREMOL.mdb");
    ASSERT_TRUE(QFile::remove(projectDb()));
    ASSERT_TRUE(QFile::link(missing, projectDb()));
    dialogs->msgAnswers = {MsgResult::OK};
    EXPECT_EQ(Start(), frmMAIN::StartResult::Ended);
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Die Arbeitskopie des Projekts TE0000.00 kann nicht angelegt werden:\r\n"
                                            "Datei nicht gefunden: ")
                                 + missing);
}

// A save that finds the user's folder refused (opened to others meanwhile) says so in one
// box, and stops there.
TEST_F(WorkingCopyTest, ASaveIntoARefusedFolderSaysSoInOneBox)
{
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    main->MarkChanged();
    SetMode(userFolder(), 0777);
    dialogs->msgAnswers = {MsgResult::OK, MsgResult::OK};
    main->mnuSPEICHERN_Click();
    SetMode(userFolder(), 0755);
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("VB-Error: 70\nZugriff verweigert: ") + userFolder()
                                 + QStringLiteral("\r\nAndere Benutzer dürfen in dem Ordner schreiben."));
    EXPECT_TRUE(main->Changed());
}
