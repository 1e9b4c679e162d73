// Several users on one project, each with a working copy of their own: a save never
// throws away what someone else saved without asking, and an end never drops work that
// someone else's save replaced in the project.
#include "AppFixture.h"
#include "app/OriginMarker.h"
#include "app/WorkingCopy.h"
#include "platform/ErrorGuard.h"
#include "platform/FileOps.h"
#include "platform/FileState.h"
#include "platform/ReplacementLock.h"
#include "platform/SessionEnd.h"
#include "platform/Yield.h"
#include "setup/SuiteSetup.h"
#include "support/OtherProcessLock.h"
#include "support/OtherUser.h"
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <sqlite3.h>
#include <sys/stat.h>

namespace {

QString Comment(const QString& db, const char* ken)
{
    auto cnn = OpenDatabase(db);
    const Variant kom = ScalarOf(cnn, QStringLiteral("SELECT [KOM] FROM [E1] WHERE [KEN]='%1'").arg(QLatin1String(ken)));
    cnn->Close();
    return CStr(kom);
}

// A record changed in a running program's working copy, as the input window saves it.
void Edit(frmMAIN& main, const char* ken, const char* kom)
{
    main.cnnX()->Execute(QStringLiteral("UPDATE [E1] SET [KOM]=? WHERE [KEN]=?"), {QString::fromUtf8(kom), ken});
    main.MarkChanged();
}

// "<date and time> von <OWNER>" of the project database as it stands.
QString WhenAndWho(const QString& db)
{
    const std::optional<FileState> state = StateOfFile(db);
    return state ? CStr(Variant(FromDateTime(state->modified()))) + QStringLiteral(" von ")
                       + UserNameOf(state->owner).toUpper()
                 : QString();
}

// The question whether to replace the project: what is known of it, then the choice.
QString Question(const QString& head, const QString& db)
{
    return head + QStringLiteral(": am ") + WhenAndWho(db)
           + QStringLiteral(".\r\nJa: Projekt trotzdem ersetzen; was dort seitdem gespeichert wurde, geht verloren.\r\n"
                            "Nein: Projekt nicht ersetzen; Ihre Arbeitskopie bleibt erhalten und wird beim nächsten "
                            "Start angeboten, damit geänderte Datensätze mit Export-Import übertragen werden können.");
}

QString ReplaceQuestion(const QString& db)
{
    return Question(QStringLiteral("Das Projekt TE0000.00 wurde anderweitig gespeichert, seit Ihre Arbeitskopie angelegt "
                                   "oder zuletzt gespeichert wurde"),
                    db);
}

QString UnknownStateQuestion(const QString& db)
{
    return Question(QStringLiteral("Der Stand des Projekts TE0000.00, von dem Ihre Arbeitskopie stammt, ist nicht bekannt; "
                                   "es kann seitdem anderweitig gespeichert worden sein. Zuletzt gespeichert"),
                    db);
}

const QString KeptQuestion = QStringLiteral(
    "Ihre Arbeitskopie des Projekts TE0000.00 wurde beim letzten Beenden auf Ihren Wunsch aufbewahrt: Ihre Änderungen "
    "darin sind nicht oder nicht mehr im Projekt.\r\nSoll mit der aufbewahrten Arbeitskopie weitergearbeitet werden?"
    "\r\nJa: mit ihr weiterarbeiten; geänderte Datensätze können mit Export-Import übertragen werden.\r\nNein: sie "
    "verwerfen und mit dem Projekt beginnen, wie es jetzt ist.");

const QString InterruptedQuestion = QStringLiteral(
    "Programm wurde während der Ausführung unterbrochen!\r\nSoll die bis zum Abbruch vorhandenen Daten gepeichert "
    "werden?");

// Someone else's save of the project, as the program sees it: a change in place.
void SavedElsewhere(const QString& db, const char* kom)
{
    auto cnn = OpenDatabase(db);
    cnn->Execute(QStringLiteral("UPDATE [E1] SET [KOM]=? WHERE [KEN]='Spundwand'"), {QString::fromUtf8(kom)});
    cnn->Close();
}

void Write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Append));
    f.write(bytes);
}

// Every entry of a folder, hidden ones and links included.
QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

// Users A (the test's own) and B (a second user id) on one suite laid out for all users.
class SharedProject : public AppFixture {
protected:
    void SetUp() override { suite = std::make_unique<TempSuite>(true, TempSuite::Users::All); }
    void TearDown() override
    {
        if (mainB) {
            const OtherUser b;
            mainB.reset();
        }
        AppFixture::TearDown();
    }

    // B enters the suite as the frame program would, and starts the program.
    frmMAIN::StartResult StartB()
    {
        const OtherUser b;
        if (!enteredB) {
            WriteAdminRow(archive(), suite->projectsFolder(), QStringLiteral("TE0000.00"));
            enteredB = true;
        }
        mainB = std::make_unique<frmMAIN>(dialogsB, suite->programFolder());
        return mainB->MDIForm_Load();
    }
    // B's start refused: the one box it shows.
    MsgBoxRequest RefusedStartOfB()
    {
        dialogsB->msgAnswers = {MsgResult::OK};
        EXPECT_EQ(StartB(), frmMAIN::StartResult::Ended);
        const auto boxes = dialogsB->boxes();
        EXPECT_EQ(boxes.size(), 1u);
        return boxes.empty() ? MsgBoxRequest{} : boxes[0];
    }
    QString workingCopyB() const
    {
        return root() + QStringLiteral("/BENUTZER/") + OtherUser::Name() + QStringLiteral("/TREMOL.mdb");
    }

    std::shared_ptr<ScriptedDialogService> dialogsB = std::make_shared<ScriptedDialogService>();
    std::unique_ptr<frmMAIN> mainB;
    bool enteredB = false;
};

TEST_F(SharedProject, TheSecondSaverIsAskedAndKeepingLeavesTheFirstSaveAndHisWorkingCopy)
{
    REQUIRE_OTHER_USER("two users' working copies of one project");
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    ASSERT_EQ(StartB(), frmMAIN::StartResult::Running);
    EXPECT_TRUE(dialogsB->boxes().empty());

    Edit(*main, "Beispiel", "von A");
    main->mnuSPEICHERN_Click();
    EXPECT_TRUE(Boxes().empty());
    {
        const OtherUser b;
        Edit(*mainB, "Spundwand", "von B");
        dialogsB->msgAnswers = {MsgResult::No};
        mainB->mnuSPEICHERN_Click();
    }
    auto boxes = dialogsB->boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, ReplaceQuestion(projectDb()));
    EXPECT_EQ(boxes[0].title, QStringLiteral("&Speichern"));
    EXPECT_EQ(boxes[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(boxes[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(boxes[0].defaultButton, MsgResult::No);
    // A's save is the project; B's change is not in it, and still unsaved.
    EXPECT_EQ(Comment(projectDb(), "Beispiel"), QStringLiteral("von A"));
    EXPECT_NE(Comment(projectDb(), "Spundwand"), QStringLiteral("von B"));
    EXPECT_TRUE(mainB->Changed());
    EXPECT_EQ(MousePointer(), 1);

    // At the end B is asked again (the save question leads to the same choice); keeping
    // A's save keeps B's working copy for the next start, without a further box.
    {
        const OtherUser b;
        dialogsB->msgAnswers = {MsgResult::Yes, MsgResult::No};
        mainB->mnuBEENDEN_Click();
        EXPECT_TRUE(mainB->unloaded());
    }
    boxes = dialogsB->boxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[2].text, ReplaceQuestion(projectDb()));
    EXPECT_TRUE(FileExists(workingCopyB()));
    EXPECT_EQ(Comment(workingCopyB(), "Spundwand"), QStringLiteral("von B"));
    EXPECT_EQ(Comment(projectDb(), "Beispiel"), QStringLiteral("von A"));

    // The next start offers it; saving it still asks, since the project is A's save.
    dialogsB->shown.clear();
    {
        const OtherUser b;
        dialogsB->msgAnswers = {MsgResult::Yes};
        ASSERT_EQ(StartB(), frmMAIN::StartResult::Running);
        EXPECT_EQ(Comment(workingCopyB(), "Spundwand"), QStringLiteral("von B"));
        dialogsB->msgAnswers = {MsgResult::No};
        mainB->mnuSPEICHERN_Click();
    }
    boxes = dialogsB->boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, KeptQuestion);
    EXPECT_EQ(boxes[1].text, ReplaceQuestion(projectDb()));
}

TEST_F(SharedProject, ReplacingKnowinglyAndTheFirstSaverKeepsHerWorkingCopyAtTheEnd)
{
    REQUIRE_OTHER_USER("two users' working copies of one project");
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    ASSERT_EQ(StartB(), frmMAIN::StartResult::Running);
    Edit(*main, "Beispiel", "von A");
    main->mnuSPEICHERN_Click();
    {
        const OtherUser b;
        Edit(*mainB, "Spundwand", "von B");
        dialogsB->msgAnswers = {MsgResult::Yes};
        mainB->mnuSPEICHERN_Click();
        EXPECT_FALSE(mainB->Changed());
    }
    ASSERT_EQ(dialogsB->boxes().size(), 1u);
    EXPECT_EQ(Comment(projectDb(), "Spundwand"), QStringLiteral("von B"));
    EXPECT_NE(Comment(projectDb(), "Beispiel"), QStringLiteral("von A"));
    // B's own save is the project: a further save and B's end ask nothing.
    {
        const OtherUser b;
        Edit(*mainB, "Spundwand", "noch einmal von B");
        mainB->mnuSPEICHERN_Click();
        mainB->mnuBEENDEN_Click();
    }
    EXPECT_EQ(dialogsB->boxes().size(), 1u);
    EXPECT_FALSE(FileExists(workingCopyB()));

    // A's saved change is gone from the project: her end offers to keep her copy.
    dialogs->msgAnswers = {MsgResult::Yes};
    main->mnuBEENDEN_Click();
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Das Projekt TE0000.00 wurde nach Ihrem letzten Speichern anderweitig "
                                            "gespeichert: am ")
                                 + WhenAndWho(projectDb())
                                 + QStringLiteral(". Ihre gespeicherten Änderungen sind darin möglicherweise nicht mehr "
                                                  "enthalten.\r\nSoll Ihre Arbeitskopie aufbewahrt und beim nächsten "
                                                  "Start angeboten werden?"));
    EXPECT_TRUE(boxes[0].text.contains(QStringLiteral(" von ") + OtherUser::Name() + QLatin1Char('.')));
    EXPECT_EQ(boxes[0].title, QStringLiteral("&Beenden"));
    EXPECT_EQ(boxes[0].buttons, MsgButtons::YesNo);
    EXPECT_TRUE(main->unloaded());
    EXPECT_TRUE(FileExists(workingCopy()));
    EXPECT_EQ(Comment(workingCopy(), "Beispiel"), QStringLiteral("von A"));
}

// Written in place (an export from another run into this project) between the start and
// the save: the save asks, in the user's language, and keeps or replaces as answered.
// Written again while the question is open: the save asks once more about that.
TEST_F(SharedProject, ASaveAsksAboutWhatWasWrittenIntoTheProjectMeanwhile)
{
    const LocaleScope english(English());
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    Exec(projectDb(), QStringLiteral("UPDATE [E1] SET [KOM]='exportiert' WHERE [KEN]='Spundwand'"));
    Edit(*main, "Beispiel", "hier");
    dialogs->msgAnswers = {MsgResult::No};
    main->mnuSPEICHERN_Click();
    auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].text.startsWith(QStringLiteral(
        "Project TE0000.00 has been saved elsewhere since your working copy was made or last saved: on ")))
        << boxes[0].text.toStdString();
    EXPECT_TRUE(boxes[0].text.contains(QStringLiteral(" by ") + UserName().toUpper() + QStringLiteral(".\r\nYes: ")));
    EXPECT_EQ(boxes[0].title, QStringLiteral("&Save"));
    EXPECT_EQ(Comment(projectDb(), "Spundwand"), QStringLiteral("exportiert"));
    EXPECT_TRUE(main->Changed());

    dialogs->shown.clear();
    dialogs->msgAnswers = {MsgResult::Yes, MsgResult::Yes};
    int asked = 0;
    dialogs->onShow = [&](const ScriptedDialogService::Shown&) {
        if (++asked == 1)
            Exec(projectDb(), QStringLiteral("UPDATE [E1] SET [KOM]='noch einmal' WHERE [KEN]='Spundwand'"));
    };
    main->mnuSPEICHERN_Click();
    dialogs->onShow = nullptr;
    EXPECT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Comment(projectDb(), "Beispiel"), QStringLiteral("hier"));
    EXPECT_NE(Comment(projectDb(), "Spundwand"), QStringLiteral("noch einmal"));
    EXPECT_FALSE(main->Changed());
    EXPECT_EQ(QDir(ParentFolder(projectDb())).entryList(QDir::Files),
              (QStringList{QStringLiteral("TREMOL.mdb"), QStringLiteral("TREMOL.mdb.lock")}));

    // Its own save is what the project holds now: the next one asks nothing.
    dialogs->shown.clear();
    Edit(*main, "Beispiel", "wieder hier");
    main->mnuSPEICHERN_Click();
    EXPECT_TRUE(Boxes().empty());
}

// A copy whose marker holds no state it came from (none, an empty one, one of an older
// run with the path only, one longer than a marker can be, a link, which is not
// followed): its first save asks, naming that the state is not known, whether or not
// someone saved since. "Nein" leaves the project, "Ja" replaces it, and the marker then
// holds the state saved, so that the next save asks nothing.
TEST_F(SharedProject, ACopyWhoseMarkerHoldsNoStateAsksAtItsFirstSave)
{
    const QString canonical = QFileInfo(projectDb()).canonicalFilePath();
    const QString marker = workingCopy() + QStringLiteral(".origin");
    const QString elsewhere = root() + QStringLiteral("/woanders");
    const auto stateNow = [&] { return Origin{canonical, StateOfFile(projectDb())}; };
    const struct {
        const char* name;
        std::function<void()> make;
    } cases[] = {
        {"no marker", [] {}},
        {"empty", [&] { Write(marker, {}); }},
        {"path only, of an older run", [&] { Write(marker, canonical.toUtf8()); }},
        {"longer than a marker", [&] {
             WriteOrigin(workingCopy(), stateNow());
             Write(marker, QByteArray(1 << 20, '\n'));
         }},
        {"a link", [&] {
             WriteOrigin(elsewhere, stateNow());
             ASSERT_TRUE(QFile::link(elsewhere + QStringLiteral(".origin"), marker));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        main.reset();
        dialogs->shown.clear();
        Exec(projectDb(), QStringLiteral("DELETE FROM [E1] WHERE [KEN]='Rest'"));
        QFile::remove(marker);
        LeaveWorkingCopy(QStringLiteral("TE0000.00"), false);
        c.make();
        const QByteArray linked = BytesOf(elsewhere + QStringLiteral(".origin"));
        SavedElsewhere(projectDb(), c.name);
        dialogs->msgAnswers = {MsgResult::Yes};
        ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
        EXPECT_EQ(RestRows(workingCopy()), 1);

        dialogs->msgAnswers = {MsgResult::No};
        main->mnuSPEICHERN_Click();
        auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), 2u);
        EXPECT_EQ(boxes[0].text, InterruptedQuestion);
        EXPECT_EQ(boxes[1].text, UnknownStateQuestion(projectDb()));
        EXPECT_EQ(boxes[1].defaultButton, MsgResult::No);
        EXPECT_EQ(boxes[1].buttons, MsgButtons::YesNo);
        EXPECT_EQ(Comment(projectDb(), "Spundwand"), QString::fromUtf8(c.name));
        EXPECT_EQ(RestRows(projectDb()), 0);
        EXPECT_TRUE(main->Changed());

        dialogs->msgAnswers = {MsgResult::Yes};
        main->mnuSPEICHERN_Click();
        EXPECT_EQ(Boxes().size(), 3u);
        EXPECT_EQ(RestRows(projectDb()), 1);
        EXPECT_FALSE(main->Changed());
        const std::optional<FileState> saved = ReadOrigin(workingCopy()).base;
        ASSERT_TRUE(saved);
        EXPECT_TRUE(saved->sameContent(*StateOfFile(projectDb())));
        main->mnuSPEICHERN_Click();
        EXPECT_EQ(Boxes().size(), 3u);
        // Nothing was written through the link.
        EXPECT_EQ(BytesOf(elsewhere + QStringLiteral(".origin")), linked);
    }
}

// A copy kept at the end by the user's choice is offered at the next start as kept; one
// that an end from outside left behind, as left by an interrupted run.
TEST_F(SharedProject, AKeptCopyIsOfferedAsKeptAndAnInterruptedOneAsInterrupted)
{
    const struct {
        const char* name;
        std::function<void()> end;
        const QString& question;
    } cases[] = {
        {"No at the question whether to replace another's save",
         [&] {
             Edit(*main, "Beispiel", "hier");
             SavedElsewhere(projectDb(), "anderswo");
             dialogs->msgAnswers = {MsgResult::Yes, MsgResult::No};   // save the changes: yes; replace: no
             main->mnuBEENDEN_Click();
         },
         KeptQuestion},
        {"Yes to keeping a save that another's has replaced",
         [&] {
             Edit(*main, "Beispiel", "hier");
             main->mnuSPEICHERN_Click();
             SavedElsewhere(projectDb(), "noch einmal anderswo");
             dialogs->msgAnswers = {MsgResult::Yes};
             main->mnuBEENDEN_Click();
         },
         KeptQuestion},
        {"giving up a save that waits for another",
         [&] {
             Edit(*main, "Beispiel", "hier");
             const OtherProcessLock other(projectDb());
             dialogs->msgAnswers = {MsgResult::Yes, MsgResult::No};   // save the changes: yes; wait on: no
             main->mnuBEENDEN_Click();
             EXPECT_EQ(Boxes().size(), 2u);
         },
         KeptQuestion},
        {"ended from outside", [&] {
             Edit(*main, "Beispiel", "hier");
             main->Unload(UnloadMode::TaskKill);
         },
         InterruptedQuestion},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        main.reset();
        dialogs->shown.clear();
        QFile::remove(workingCopy());
        QFile::remove(workingCopy() + QStringLiteral(".origin"));
        ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
        c.end();
        ASSERT_TRUE(main->unloaded());
        ASSERT_TRUE(FileExists(workingCopy()));

        main.reset();
        dialogs->shown.clear();
        dialogs->msgAnswers = {MsgResult::Yes};
        ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
        const auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, c.question);
        EXPECT_EQ(boxes[0].buttons, MsgButtons::YesNo);
        EXPECT_EQ(Comment(workingCopy(), "Beispiel"), QStringLiteral("hier"));
    }
}

// The marker keeps the state as the previous version wrote and reads it, and after it
// the look of the project (what stat tells), so that a check of an untouched project
// needs no read of it; a marker of the previous version still reads with its state.
TEST_F(SharedProject, TheMarkerKeepsThePreviousVersionsLinesAndTheLookOfTheProject)
{
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    const auto lines = [&] { return BytesOf(OriginMarker(workingCopy())).split('\n'); };
    for (const bool saved : {false, true}) {
        SCOPED_TRACE(saved ? "saved" : "started");
        if (saved) {
            Edit(*main, "Beispiel", "gespeichert");
            main->mnuSPEICHERN_Click();
            ASSERT_TRUE(Boxes().empty());
        }
        const FileState project = *StateOfFile(projectDb());
        const QList<QByteArray> l = lines();
        ASSERT_GE(l.size(), 5);
        EXPECT_EQ(l[0], QFileInfo(projectDb()).canonicalFilePath().toUtf8());
        EXPECT_EQ(l[1], "size=" + QByteArray::number(qint64(project.size)));
        EXPECT_EQ(l[2], "modified=" + QByteArray::number(qint64(project.modifiedMs)));
        EXPECT_EQ(l[3], "owner=" + QByteArray::number(project.owner));
        EXPECT_EQ(l[4], "sha256=" + project.checksum);
        const Origin origin = ReadOrigin(workingCopy());
        ASSERT_TRUE(origin.base);
        EXPECT_TRUE(origin.base->stamp == project.stamp);
    }
    const QByteArray previous = lines().mid(0, 5).join('\n') + '\n';
    QFile marker(OriginMarker(workingCopy()));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly | QIODevice::Truncate));
    marker.write(previous);
    marker.close();
    const Origin older = ReadOrigin(workingCopy());
    ASSERT_TRUE(older.base);
    EXPECT_FALSE(older.base->stamp);
    EXPECT_TRUE(older.base->sameContent(*StateOfFile(projectDb())));
}

// The folder of the working copies serves every user: made by the first user to start,
// it lets the others add their own folders, each of which stays its owner's. One an
// older run made for its owner alone refuses the others with what was refused; the
// owner's next start opens it.
TEST_F(SharedProject, TheWorkingCopiesFolderServesEveryUserAndARefusalSaysAccessDenied)
{
    REQUIRE_OTHER_USER("two users' own folders");
    const QString benutzer = root() + QStringLiteral("/BENUTZER");
    ASSERT_TRUE(QDir().mkpath(benutzer));
    ASSERT_TRUE(QFile::setPermissions(benutzer, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                                    | QFileDevice::ReadOther | QFileDevice::ExeOther));
    const MsgBoxRequest refusal = RefusedStartOfB();
    EXPECT_EQ(refusal.text, QStringLiteral("Die Arbeitskopie des Projekts TE0000.00 kann nicht angelegt werden:\r\n"
                                           "Zugriff verweigert: ")
                                + benutzer + QLatin1Char('/') + OtherUser::Name());
    EXPECT_EQ(refusal.icon, MsgIcon::Exclamation);

    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    EXPECT_TRUE(QFileInfo(benutzer).permissions().testFlag(QFileDevice::WriteOther));
    dialogsB->shown.clear();
    ASSERT_EQ(StartB(), frmMAIN::StartResult::Running);
    EXPECT_TRUE(dialogsB->boxes().empty());
    for (const QString& own : {userFolder(), ParentFolder(workingCopyB())}) {
        SCOPED_TRACE(own.toStdString());
        EXPECT_FALSE(QFileInfo(own).permissions() & (QFileDevice::WriteGroup | QFileDevice::WriteOther));
    }
    // Neither may remove the other's folder.
    const QString folderOfA = userFolder();
    {
        const OtherUser b;
        EXPECT_FALSE(QDir(folderOfA).removeRecursively());
        EXPECT_NE(::rename(QFile::encodeName(folderOfA).constData(), QFile::encodeName(folderOfA + QStringLiteral("_weg")).constData()), 0);
    }
    EXPECT_TRUE(FileExists(workingCopy()));
}

// A project database the user may not write is not replaced, though the project folder
// would let a new file take its name; nor is one he may write in a folder that takes no
// new file from him, or that lets nobody but its owner replace it (links to another
// user's files). The save's box names the file and what was refused, never the
// temporary one, and no temporary file is left.
TEST_F(SharedProject, ASaveIntoAProjectDatabaseTheUserMayNotReplaceIsRefused)
{
    REQUIRE_OTHER_USER("another user's files and folders");
    const QString closed = root() + QStringLiteral("/ANDERER/TREMOL.mdb");
    const QString sticky = root() + QStringLiteral("/GETEILT/TREMOL.mdb");
    const auto mode = [](const QString& path, mode_t m) { ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), m), 0); };
    for (const auto& [file, folderMode] : {std::pair(closed, 0755), std::pair(sticky, 01777)}) {
        ASSERT_TRUE(QDir().mkpath(ParentFolder(file)));
        ASSERT_TRUE(QFile::copy(projectDb(), file));
        mode(ParentFolder(file), mode_t(folderMode));
        mode(file, 0666);
    }
    mode(projectDb(), 0644);
    ASSERT_EQ(StartB(), frmMAIN::StartResult::Running);
    const struct {
        const char* name;
        QString file, refusal;
    } cases[] = {
        {"read-only", projectDb(), QStringLiteral("Zugriff verweigert: ") + projectDb()},
        {"in another user's folder", closed,
         QStringLiteral("Zugriff verweigert: ") + closed
             + QStringLiteral("\r\nIhr Ordner nimmt keine neue Datei auf: Der Zugriff wurde verweigert.")},
        {"another user's in a folder for all", sticky,
         QStringLiteral("Die Datei kann nicht an die Stelle von ") + sticky
             + QStringLiteral(" treten. Der Zugriff wurde verweigert.")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.file != projectDb()) {
            ASSERT_TRUE(QFile::remove(projectDb()));
            ASSERT_TRUE(QFile::link(c.file, projectDb()));
        }
        const QByteArray before = BytesOf(c.file);
        dialogsB->shown.clear();
        {
            const OtherUser b;
            Edit(*mainB, "Spundwand", "von B");
            dialogsB->msgAnswers = {MsgResult::OK};
            mainB->mnuSPEICHERN_Click();
        }
        const auto boxes = dialogsB->boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, QStringLiteral("VB-Error: 70\n") + c.refusal
                                     + QStringLiteral("\r\nDie Projektdatenbank bleibt unverändert."));
        EXPECT_EQ(BytesOf(c.file), before);
        EXPECT_TRUE(mainB->Changed());
        for (const QString& folder : {ParentFolder(projectDb()), ParentFolder(closed), ParentFolder(sticky)})
            EXPECT_EQ(QDir(folder).entryList({QStringLiteral("*.partial-*")}, QDir::Files | QDir::System), QStringList());
    }
}

// The read-only case, for every user: a file of mode 0444 (as root, the second user saves).
TEST_F(SharedProject, ASaveIntoAProjectDatabaseTheUserMayNotWriteIsRefused)
{
    REQUIRE_UNPRIVILEGED();
    // Root may write any file: there the second user saves.
    const bool asB = ::geteuid() == 0;
    ASSERT_EQ(asB ? StartB() : Start(), frmMAIN::StartResult::Running);
    frmMAIN& saver = asB ? *mainB : *main;
    ScriptedDialogService& saverDialogs = asB ? *dialogsB : *dialogs;
    ASSERT_TRUE(QFile::setPermissions(projectDb(), QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    const QByteArray before = BytesOf(projectDb());
    {
        const Unprivileged user;
        Edit(saver, "Spundwand", "nicht gespeichert");
        saverDialogs.msgAnswers = {MsgResult::OK};
        saver.mnuSPEICHERN_Click();
    }
    const auto boxes = saverDialogs.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("VB-Error: 70\nZugriff verweigert: ") + projectDb()
                                 + QStringLiteral("\r\nDie Projektdatenbank bleibt unverändert."));
    EXPECT_EQ(BytesOf(projectDb()), before);
    EXPECT_TRUE(saver.Changed());
    EXPECT_EQ(QDir(ParentFolder(projectDb())).entryList({QStringLiteral("*.partial-*")}, QDir::Files | QDir::System),
              QStringList());
}

// A project database that is a link to another disk stays a link: the save replaces the
// file it names.
TEST_F(SharedProject, ASaveIntoALinkedProjectDatabaseKeepsTheLink)
{
    const QString disk = root() + QStringLiteral("/PLATTE/TREMOL.mdb");
    ASSERT_TRUE(QDir().mkpath(ParentFolder(disk)));
    ASSERT_TRUE(QFile::rename(projectDb(), disk));
    ASSERT_TRUE(QFile::link(disk, projectDb()));
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    Edit(*main, "Beispiel", "auf der Platte");
    main->mnuSPEICHERN_Click();
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(QFileInfo(projectDb()).isSymLink());
    EXPECT_EQ(Comment(disk, "Beispiel"), QStringLiteral("auf der Platte"));
    // The lock of the saves lies beside the file the link names.
    EXPECT_EQ(QDir(ParentFolder(disk)).entryList(QDir::Files),
              (QStringList{QStringLiteral("TREMOL.mdb"), QStringLiteral("TREMOL.mdb.lock")}));
}

// The project folder reached through a link, and the project database in it a relative
// link: the save lands in the file the system finds (the link's ".." taken from the
// folder it really lies in), and the end finds no save elsewhere.
TEST_F(SharedProject, ASaveThroughARelativeLinkInALinkedFolderLandsInTheFileTheSystemFinds)
{
    const QString projectFolder = ParentFolder(projectDb());
    const QString realFolder = root() + QStringLiteral("/ablage/a/TE0000.00");
    const QString file = root() + QStringLiteral("/ablage/daten/TREMOL.mdb");
    // By the path's text, "../../daten" from PROJEKTE/TE0000.00 would be this folder.
    const QString byText = root() + QStringLiteral("/daten");
    for (const QString& folder : {realFolder, ParentFolder(file), byText})
        ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QFile::rename(projectDb(), file));
    ASSERT_TRUE(QDir(projectFolder).removeRecursively());
    ASSERT_TRUE(QFile::link(realFolder, projectFolder));
    ASSERT_TRUE(QFile::link(QStringLiteral("../../daten/TREMOL.mdb"), realFolder + QStringLiteral("/TREMOL.mdb")));
    ASSERT_EQ(QFileInfo(projectDb()).canonicalFilePath(), file);

    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    Edit(*main, "Beispiel", "durch den Verweis");
    main->mnuSPEICHERN_Click();
    EXPECT_TRUE(Boxes().empty());
    EXPECT_FALSE(main->Changed());
    EXPECT_EQ(Comment(file, "Beispiel"), QStringLiteral("durch den Verweis"));
    EXPECT_TRUE(QFileInfo(realFolder + QStringLiteral("/TREMOL.mdb")).isSymLink());
    EXPECT_EQ(QDir(byText).entryList(QDir::Files), QStringList());

    main->mnuBEENDEN_Click();
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(main->unloaded());
    EXPECT_FALSE(FileExists(workingCopy()));
}

// A save that finds another one's replacement under way (the lock beside the project
// held) waits for it, the busy pointer showing, and then checks against what that one
// saved, asking as ever. The lock file stays beside the project, open to those who may
// write the folder and to nobody else, and is taken for no left-over of a save.
TEST_F(SharedProject, ASaveWaitsForAnotherOneAndThenAsksAboutWhatItSaved)
{
    ASSERT_EQ(::chmod(QFile::encodeName(ParentFolder(projectDb())).constData(), 0775), 0);
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    Edit(*main, "Beispiel", "hier");
    auto other = std::make_unique<ReplacementLock>(projectDb());
    ASSERT_TRUE(other->TryLock());
    int pointer = -1;
    const ScopedSingleShot otherSaves(300, [&] {
        pointer = MousePointer();
        Exec(projectDb(), QStringLiteral("UPDATE [E1] SET [KOM]='von der anderen' WHERE [KEN]='Spundwand'"));
        other.reset();
    });
    dialogs->msgAnswers = {MsgResult::No};
    main->mnuSPEICHERN_Click();
    EXPECT_EQ(pointer, 11);
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, ReplaceQuestion(projectDb()));
    EXPECT_EQ(Comment(projectDb(), "Spundwand"), QStringLiteral("von der anderen"));
    EXPECT_NE(Comment(projectDb(), "Beispiel"), QStringLiteral("hier"));
    EXPECT_TRUE(main->Changed());

    dialogs->shown.clear();
    dialogs->msgAnswers = {MsgResult::Yes};
    main->mnuSPEICHERN_Click();
    EXPECT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Comment(projectDb(), "Beispiel"), QStringLiteral("hier"));
    const QString lockFile = projectDb() + QStringLiteral(".lock");
    EXPECT_EQ(QDir(ParentFolder(projectDb())).entryList(QDir::Files | QDir::System),
              (QStringList{QStringLiteral("TREMOL.mdb"), QStringLiteral("TREMOL.mdb.lock")}));
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(lockFile).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0660u);   // the folder is 0775
    RemoveLeftOverPartials(projectDb(), std::chrono::seconds(0));
    EXPECT_TRUE(QFileInfo::exists(lockFile));
}

// Where the lock cannot be had (here an entry of that name that is a link, planted by
// someone who may write the project folder), the save says so, goes on as without the
// lock, and follows no link.
TEST_F(SharedProject, ASaveWithoutTheLockSaysSoAndGoesOn)
{
    const QString planted = root() + QStringLiteral("/angelegt");
    ASSERT_TRUE(QFile::link(planted, projectDb() + QStringLiteral(".lock")));
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    Edit(*main, "Beispiel", "ohne Sperre");
    dialogs->msgAnswers = {MsgResult::OK};
    main->mnuSPEICHERN_Click();
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, WithoutLockBox(QStringLiteral("TE0000.00"),
                                            QStringLiteral("Es wird ohne Sperre gespeichert: eine Speicherung eines "
                                                           "anderen Benutzers im selben Augenblick kann unbemerkt bleiben.")));
    EXPECT_EQ(boxes[0].title, QStringLiteral("&Speichern"));
    EXPECT_EQ(boxes[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(Comment(projectDb(), "Beispiel"), QStringLiteral("ohne Sperre"));
    EXPECT_FALSE(main->Changed());
    EXPECT_FALSE(QFileInfo::exists(planted));
    EXPECT_TRUE(QFileInfo(projectDb() + QStringLiteral(".lock")).isSymLink());
}

// A save that finds another one under way for more than a few seconds (here the lock
// held by another process, as a hung program of another user, or anyone who may write the
// project, holds it) says so and asks whether to wait on. Giving up leaves the project as
// it is and keeps the changes, as a "No" at the question about another's save does;
// waiting on asks again after a while, and the question closes itself once the lock is
// free, the save then going on.
TEST_F(SharedProject, ASaveThatWaitsLongForAnotherAsksWhetherToWaitOn)
{
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    Edit(*main, "Beispiel", "hier");
    const QString saved = Comment(projectDb(), "Beispiel");
    QElapsedTimer waited;
    std::vector<qint64> askedAfter;
    std::function<void()> whenAsked;
    dialogs->onShow = [&](const ScriptedDialogService::Shown&) {
        askedAfter.push_back(waited.elapsed());
        if (whenAsked)
            whenAsked();
    };
    const QString question = WaitOnQuestion(QStringLiteral("TE0000.00"),
                                            QStringLiteral("das Speichern aufgeben; Ihre Arbeitskopie bleibt mit ihren "
                                                           "Änderungen erhalten und wird beim nächsten Start angeboten."));
    {
        SCOPED_TRACE("given up");
        const OtherProcessLock other(projectDb());
        ASSERT_TRUE(other.Held());
        dialogs->msgAnswers = {MsgResult::No};
        waited.start();
        main->mnuSPEICHERN_Click();
        const auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, question);
        EXPECT_EQ(boxes[0].title, QStringLiteral("&Speichern"));
        EXPECT_EQ(boxes[0].buttons, MsgButtons::YesNo);
        EXPECT_EQ(boxes[0].icon, MsgIcon::Question);
        EXPECT_EQ(boxes[0].defaultButton, MsgResult::Yes);
        EXPECT_GE(askedAfter[0], 3000);
        EXPECT_EQ(Comment(projectDb(), "Beispiel"), saved);
        EXPECT_EQ(Comment(workingCopy(), "Beispiel"), QStringLiteral("hier"));
        EXPECT_TRUE(main->Changed());
        EXPECT_EQ(MousePointer(), 1);
    }
    {
        SCOPED_TRACE("waited on");
        dialogs->shown.clear();
        askedAfter.clear();
        auto other = std::make_unique<OtherProcessLock>(projectDb());
        ASSERT_TRUE(other->Held());
        whenAsked = [&] {
            if (askedAfter.size() == 2)
                other->Free();
        };
        dialogs->msgAnswers = {MsgResult::Yes};   // the second question closes itself
        waited.start();
        main->mnuSPEICHERN_Click();
        const auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), 2u);
        EXPECT_EQ(boxes[1].text, question);
        EXPECT_GE(askedAfter[1] - askedAfter[0], 3000);
        EXPECT_EQ(Comment(projectDb(), "Beispiel"), QStringLiteral("hier"));
        EXPECT_FALSE(main->Changed());
    }
}

// A program writing every record of a project database, in a process of its own, that
// stops in its commit, to be killed there: the file holds pages of the write, and the
// journal beside it the pages that take them back. Its environment names the database.
TEST(KilledWriter, DISABLED_StopsInItsCommit)
{
    const QByteArray db = qgetenv("TREMOL_WRITER");
    sqlite3* handle = nullptr;
    ASSERT_EQ(sqlite3_open_v2(db.constData(), &handle, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    // A cache too small for the write: its pages go into the file before the commit.
    ASSERT_EQ(sqlite3_exec(handle, "PRAGMA cache_size=1; BEGIN; UPDATE [E1] SET [KOM]='weg' || [KOM]", nullptr, nullptr,
                           nullptr),
              SQLITE_OK);
    std::printf("MITTEN\n");
    std::fflush(stdout);
    for (;;)
        QThread::sleep(60);
}

// A journal that a writer killed in its commit left beside the project belongs to the
// file it was written for: a save rolls it back into that file before the new one takes
// its place, so that the next start finds the save, not old pages rolled back into it.
TEST_F(SharedProject, AJournalLeftBesideTheProjectIsNotRolledBackIntoTheSave)
{
    Exec(projectDb(), QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                                     "INSERT INTO [E1] ([ID],[KEN],[KOM],[AKT]) "
                                     "SELECT 100 + i, 'R' || i, 'alt' || hex(zeroblob(50)), 0 FROM n"));
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    main->cnnX()->Execute(QStringLiteral("UPDATE [E1] SET [KOM]='neu' WHERE [KEN] LIKE 'R%'"));
    main->MarkChanged();

    QProcess writer;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TREMOL_WRITER"), projectDb());
    writer.setProcessEnvironment(env);
    writer.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_also_run_disabled_tests"),
                                                          QStringLiteral("--gtest_filter=KilledWriter.*")});
    while (!writer.readAllStandardOutput().contains("MITTEN"))
        ASSERT_TRUE(writer.waitForReadyRead(60000)) << writer.readAllStandardError().toStdString();
    writer.kill();
    ASSERT_TRUE(writer.waitForFinished(60000));
    const QString journal = projectDb() + QStringLiteral("-journal");
    ASSERT_GT(QFileInfo(journal).size(), 0);

    // The killed write changed the file: the save asks, and replaces it knowingly.
    dialogs->msgAnswers = {MsgResult::Yes};
    main->mnuSPEICHERN_Click();
    ASSERT_FALSE(main->Changed());
    EXPECT_EQ(Boxes().size(), 1u);
    EXPECT_FALSE(QFileInfo::exists(journal));

    main->mnuBEENDEN_Click();
    main.reset();
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    EXPECT_EQ(CLng(ScalarOf(main->cnnX(), QStringLiteral("SELECT COUNT(*) FROM [E1] WHERE [KOM]='neu'"))), 3000);
    EXPECT_EQ(CStr(ScalarOf(main->cnnX(), QStringLiteral("PRAGMA integrity_check"))), QStringLiteral("ok"));
}

namespace {

// Where the two saving programs of the test below meet: each marks that it reached a
// point and waits for the other to reach it too.
bool Meet(const QString& folder, const QString& self, const QString& other, const QString& point)
{
    QFile mark(folder + QLatin1Char('/') + self + QLatin1Char('-') + point);
    if (!mark.open(QIODevice::WriteOnly))
        return false;
    mark.close();
    QElapsedTimer waited;
    waited.start();
    while (!QFileInfo::exists(folder + QLatin1Char('/') + other + QLatin1Char('-') + point)) {
        if (waited.elapsed() > 60000)
            return false;
        QThread::usleep(100);
    }
    return true;
}

constexpr int SaverRounds = 40;

} // namespace

// One of the two saving programs of the test below, in a process of its own. Its
// environment names its program folder (its working copy lies beside it), the projects
// folder, its name and the other's, and the folder where they meet. Each round it sets a
// fresh working copy up, changes its record, meets the other and saves at once, keeping
// what the other saved when asked; it prints the round, its name, the result and the
// number of boxes it was shown.
TEST(SaverProcess, DISABLED_SavesWhenTheOtherDoes)
{
    const QStringList args = QString::fromLocal8Bit(qgetenv("TREMOL_SAVER")).split(QLatin1Char('|'));
    ASSERT_EQ(args.size(), 5);
    const QString &programFolder = args[0], &projects = args[1], &self = args[2], &other = args[3], &meet = args[4];
    auto dialogs = std::make_shared<ScriptedDialogService>();
    Context ctx;
    ctx.dialogs = dialogs;
    ctx.programFolder = programFolder;
    ctx.PROJEKTSPFAD = projects;
    ctx.PROJEKT = QStringLiteral("TE0000.00");
    for (int round = 1; round <= SaverRounds; ++round) {
        WorkingCopy workingCopy(ctx);
        ASSERT_FALSE(workingCopy.SetUp());
        ctx.cnnX->Execute(QStringLiteral("UPDATE [E1] SET [KOM]=? WHERE [KEN]=?"),
                          {QStringLiteral("%1 %2").arg(self).arg(round), self});
        workingCopy.MarkChanged();
        dialogs->shown.clear();
        dialogs->msgAnswers = {MsgResult::No};
        ASSERT_TRUE(Meet(meet, self, other, QStringLiteral("bereit%1").arg(round)));
        const WorkingCopy::SaveResult result = workingCopy.Save(QStringLiteral("&Speichern"), QStringLiteral("&Komprimieren"));
        std::printf("RUNDE %d %s %d %d\n", round, qPrintable(self), int(result), int(dialogs->shown.size()));
        std::fflush(stdout);
        Guarded(ctx.dlg(), RoutineBox(QStringLiteral("TREMOL")), [&](Guard& g) { workingCopy.Close(g); });
        workingCopy.Unlock();
        // A copy kept for the next start is not this test's next round.
        QFile::remove(workingCopy.Path());
        QFile::remove(OriginMarker(workingCopy.Path()));
        ASSERT_TRUE(Meet(meet, self, other, QStringLiteral("fertig%1").arg(round)));
    }
}

// Two programs (as two users run them, each with a working copy of his own) save one
// project at the same moment, round after round: one of them replaces the project, the
// other is asked and keeps that save. Never do both replace it without a question.
TEST_F(SharedProject, TwoSavesAtTheSameMomentNeverCross)
{
    const QString meet = root() + QStringLiteral("/treffpunkt");
    ASSERT_TRUE(QDir().mkpath(meet));
    const struct {
        QString name, other, programFolder;
    } savers[] = {
        {QStringLiteral("A"), QStringLiteral("B"), suite->programFolder()},
        {QStringLiteral("B"), QStringLiteral("A"), root() + QStringLiteral("/ZWEITER/TREMOL")},
    };
    ASSERT_TRUE(QDir().mkpath(savers[1].programFolder));
    // The saver names its record by its own name: the records get those designations.
    Exec(projectDb(), QStringLiteral("UPDATE [E1] SET [KEN]='A' WHERE [KEN]='Beispiel'"));
    Exec(projectDb(), QStringLiteral("UPDATE [E1] SET [KEN]='B' WHERE [KEN]='Spundwand'"));
    std::vector<std::unique_ptr<QProcess>> processes;
    for (const auto& saver : savers) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TREMOL_SAVER"), QStringList{saver.programFolder, suite->projectsFolder(), saver.name,
                                                               saver.other, meet}
                                                       .join(QLatin1Char('|')));
        process->setProcessEnvironment(env);
        process->start(QCoreApplication::applicationFilePath(),
                       {QStringLiteral("--gtest_also_run_disabled_tests"),
                        QStringLiteral("--gtest_filter=SaverProcess.DISABLED_SavesWhenTheOtherDoes")});
        processes.push_back(std::move(process));
    }
    std::map<int, std::vector<std::pair<int, int>>> rounds;   // round: (result, boxes) of each
    QString lastSaver;
    for (auto& process : processes) {
        ASSERT_TRUE(process->waitForFinished(300000));
        const QByteArray output = process->readAllStandardOutput();
        EXPECT_EQ(process->exitCode(), 0) << output.toStdString() << process->readAllStandardError().toStdString();
        for (const QByteArray& line : output.split('\n')) {
            const QList<QByteArray> parts = line.trimmed().split(' ');
            if (parts.size() != 5 || parts[0] != "RUNDE")
                continue;
            rounds[parts[1].toInt()].push_back({parts[3].toInt(), parts[4].toInt()});
            if (parts[1].toInt() == SaverRounds && parts[3].toInt() == int(WorkingCopy::SaveResult::Saved))
                lastSaver = QString::fromLatin1(parts[2]);
        }
    }
    ASSERT_EQ(int(rounds.size()), SaverRounds);
    int crossed = 0;
    for (const auto& [round, results] : rounds) {
        SCOPED_TRACE(round);
        ASSERT_EQ(results.size(), 2u);
        const int saved = int(std::count(results.begin(), results.end(), std::pair(int(WorkingCopy::SaveResult::Saved), 0)));
        const int kept = int(std::count(results.begin(), results.end(), std::pair(int(WorkingCopy::SaveResult::OtherKept), 1)));
        crossed += saved == 2;
        EXPECT_EQ(saved, 1);
        EXPECT_EQ(kept, 1);
    }
    EXPECT_EQ(crossed, 0);
    // The project holds the last round's save.
    ASSERT_FALSE(lastSaver.isEmpty());
    EXPECT_EQ(Comment(projectDb(), qPrintable(lastSaver)), QStringLiteral("%1 %2").arg(lastSaver).arg(SaverRounds));
}

// A user's own folder that anyone else may have put something in is refused: the start
// ends with a box naming the folder and what is wrong, and writes nothing there, nor
// through a link in it to a file of the user's.
class PlantedFolder : public SharedProject {
protected:
    void SetUp() override
    {
        SharedProject::SetUp();
        victim = root() + QStringLiteral("/privat/geheim.txt");
        ASSERT_TRUE(QDir().mkpath(ParentFolder(victim)));
        SetMode(ParentFolder(victim), 0700);
        Write(victim, "nur für mich");
    }
    void ExpectRefused(const QString& folder, const QString& fault)
    {
        const QStringList entries = Entries(folder);
        dialogs->shown.clear();
        dialogs->msgAnswers = {MsgResult::OK};
        EXPECT_EQ(Start(), frmMAIN::StartResult::Ended);
        const auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, QStringLiteral("Die Arbeitskopie des Projekts TE0000.00 kann nicht angelegt werden:\r\n"
                                                "Zugriff verweigert: ")
                                     + userFolder() + QStringLiteral("\r\n") + fault);
        EXPECT_EQ(boxes[0].icon, MsgIcon::Exclamation);
        EXPECT_EQ(BytesOf(victim), QByteArray("nur für mich"));
        EXPECT_EQ(Entries(folder), entries);
    }

    // A file of the user's own, in a folder of his alone.
    QString victim;
};

TEST_F(PlantedFolder, ByAnotherUserBeforeTheFirstStart)
{
    REQUIRE_OTHER_USER("a folder planted by another user");
    const QString folderOfA = userFolder();
    {
        const OtherUser b;
        ASSERT_TRUE(QDir().mkpath(folderOfA));   // in BENUTZER, where each may add his entries
        SetMode(folderOfA, 0777);
        ASSERT_TRUE(QFile::link(victim, folderOfA + QStringLiteral("/TREMOL.mdb.origin")));
    }
    ExpectRefused(userFolder(), QStringLiteral("Der Ordner gehört dem Benutzer ") + OtherUser::Name()
                                    + QStringLiteral(", nicht Ihnen."));
}

// The same whoever made it so: one others may write (open to all, to its group), or a
// link to another folder.
TEST_F(PlantedFolder, OpenToOthersOrALinkHoweverItCameToBe)
{
    const QString otherFolder = root() + QStringLiteral("/anderswo");
    const struct {
        const char* name;
        mode_t mode;   // 0: a link to another folder
        const char* fault;
    } cases[] = {
        {"open to all", 0777, "Andere Benutzer dürfen in dem Ordner schreiben."},
        {"open to its group", 02775, "Andere Benutzer dürfen in dem Ordner schreiben."},
        {"a link", 0, "Der Ordner ist eine symbolische Verknüpfung."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        main.reset();
        QFile::remove(userFolder());
        QDir(userFolder()).removeRecursively();
        QDir(otherFolder).removeRecursively();
        const QString folder = c.mode ? userFolder() : otherFolder;
        ASSERT_TRUE(QDir().mkpath(folder));
        SetMode(folder, c.mode ? c.mode : 0755);
        if (!c.mode) {
            ASSERT_TRUE(QFile::link(otherFolder, userFolder()));
        }
        ASSERT_TRUE(QFile::link(victim, folder + QStringLiteral("/TREMOL.mdb.origin")));
        ExpectRefused(folder, QString::fromUtf8(c.fault));
    }
}

// Made at the first start, the user's folder is written by him alone under every
// file-creation mask, and the program works in it.
TEST_F(PlantedFolder, TheOwnFolderIsMadeForItsOwnerAloneUnderEveryMask)
{
    for (const mode_t mask : {0000, 0002, 0022, 0077}) {
        SCOPED_TRACE(mask);
        main.reset();
        QDir(root() + QStringLiteral("/BENUTZER")).removeRecursively();
        const mode_t before = ::umask(mask);
        const frmMAIN::StartResult started = Start();
        ::umask(before);
        ASSERT_EQ(started, frmMAIN::StartResult::Running);
        EXPECT_EQ(ModeOf(userFolder()) & 0777, 0755 & ~mask);
        ASSERT_TRUE(main->cnnX() && main->cnnX()->isOpen());
        main->mnuBEENDEN_Click();
        EXPECT_TRUE(main->unloaded());
    }
}

// In the user's own folder, links at the marker's and the working copy's names are
// replaced or set aside, never written through; one at the lock's name is refused.
TEST_F(PlantedFolder, LinksInTheOwnFolderAreNotFollowed)
{
    const QString victimDb = ParentFolder(victim) + QStringLiteral("/TREMOL.mdb");
    CopyDatabase(projectDb(), victimDb);
    const QByteArray db = BytesOf(victimDb);
    const struct {
        const char* name;
        QString at;
        QString to;
    } cases[] = {
        {"marker", workingCopy() + QStringLiteral(".origin"), victim},
        {"working copy", workingCopy(), victimDb},
        {"lock", userFolder() + QStringLiteral("/TREMOL.lock"), victim},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        main.reset();
        dialogs->shown.clear();
        QDir(userFolder()).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(userFolder()));
        SetMode(userFolder(), 0755);
        ASSERT_TRUE(QFile::link(c.to, c.at));
        dialogs->msgAnswers = {MsgResult::OK};

        const frmMAIN::StartResult started = Start();
        if (c.at.endsWith(QStringLiteral(".lock"))) {
            EXPECT_EQ(started, frmMAIN::StartResult::Ended);
            ASSERT_EQ(Boxes().size(), 1u);
            EXPECT_EQ(Boxes()[0].text, QStringLiteral("Die Arbeitskopie des Projekts TE0000.00 kann nicht angelegt "
                                                      "werden:\r\nZugriff verweigert: ")
                                           + c.at);
        } else {
            ASSERT_EQ(started, frmMAIN::StartResult::Running);
            EXPECT_FALSE(QFileInfo(c.at).isSymLink());
            // The working copy's work lands in the working copy only.
            main->cnnX()->Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (9,'Neu',0)"));
            main->MarkChanged();
            main->mnuSPEICHERN_Click();
            main->mnuBEENDEN_Click();
            EXPECT_TRUE(main->unloaded());
            EXPECT_EQ(CLng(Scalar(projectDb(), QStringLiteral("SELECT COUNT(*) FROM [E1] WHERE [KEN]='Neu'"))), 1);
            Exec(projectDb(), QStringLiteral("DELETE FROM [E1] WHERE [KEN]='Neu'"));
        }
        EXPECT_EQ(BytesOf(victim), QByteArray("nur für mich"));
        EXPECT_EQ(BytesOf(victimDb), db);
    }
}

// A suite whose folders lie elsewhere behind links (a share mounted elsewhere, the users'
// folders on a local disk): the suite itself, the projects' folder, the project's folder
// or the users' folder a link. The start makes the working copy, "Speichern" and the save
// at exit put the change into the project the link names, the compaction replaces the
// working copy, and the links stay links.
TEST_F(SharedProject, AFolderBehindALinkIsStartedOnAndSavedInto)
{
    const QString elsewhere = root() + QStringLiteral("/anderswo");
    const QString suiteLink = root() + QStringLiteral("/verweis");
    struct Case {
        const char* name;
        QString folder;   // the folder moved elsewhere, a link taking its place
    };
    const Case cases[] = {
        {"PROJEKTE", suite->projectsFolder()},
        {"project folder", ParentFolder(projectDb())},
        {"BENUTZER", root() + QStringLiteral("/BENUTZER")},
        {"suite", QString()},
    };
    int round = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString moved = elsewhere + QLatin1Char('/') + QString::number(++round);
        QString programFolder = suite->programFolder();
        if (c.folder.isEmpty()) {
            // The whole suite reached through a link: the program, its users' folder and
            // the projects.
            ASSERT_TRUE(QFile::link(root(), suiteLink));
            programFolder = suiteLink + QStringLiteral("/TREMOL");
            WriteAdminRow(archive(), suiteLink + QStringLiteral("/PROJEKTE"), QStringLiteral("TE0000.00"));
        } else {
            ASSERT_TRUE(QDir().mkpath(moved));
            if (QFileInfo::exists(c.folder))
                ASSERT_TRUE(QDir().rename(c.folder, moved + QStringLiteral("/ziel")));
            else
                ASSERT_TRUE(QDir().mkpath(moved + QStringLiteral("/ziel")));
            ASSERT_TRUE(QFile::link(moved + QStringLiteral("/ziel"), c.folder));
        }
        dialogs->shown.clear();
        ASSERT_EQ(Start(programFolder), frmMAIN::StartResult::Running);
        EXPECT_TRUE(Boxes().empty());
        EXPECT_TRUE(QFileInfo(workingCopy()).isFile());
        Edit(*main, "Beispiel", "gespeichert");
        main->mnuSPEICHERN_Click();
        EXPECT_TRUE(Boxes().empty());
        EXPECT_FALSE(main->Changed());
        EXPECT_EQ(Comment(projectDb(), "Beispiel"), QStringLiteral("gespeichert"));
        dialogs->msgAnswers = {MsgResult::OK};
        main->mnuKOMPRIMIEREN_Click();
        ASSERT_EQ(Boxes().size(), 1u);
        EXPECT_TRUE(Boxes()[0].text.startsWith(QStringLiteral("Datenbank wurde um "))) << Boxes()[0].text.toStdString();
        dialogs->shown.clear();
        Edit(*main, "Beispiel", "beim Beenden");
        dialogs->msgAnswers = {MsgResult::Yes};
        main->mnuBEENDEN_Click();
        EXPECT_EQ(Boxes().size(), 1u);   // the question whether to save, alone
        EXPECT_TRUE(main->unloaded());
        EXPECT_EQ(Comment(projectDb(), "Beispiel"), QStringLiteral("beim Beenden"));
        EXPECT_FALSE(QFileInfo::exists(workingCopy()));
        EXPECT_TRUE(QFileInfo(c.folder.isEmpty() ? suiteLink : c.folder).isSymLink());
        main.reset();
        // Back to the suite as it was, for the next case.
        if (c.folder.isEmpty()) {
            ASSERT_TRUE(QFile::remove(suiteLink));
            WriteAdminRow(archive(), suite->projectsFolder(), QStringLiteral("TE0000.00"));
        } else {
            ASSERT_TRUE(QFile::remove(c.folder));
            ASSERT_TRUE(QDir().rename(moved + QStringLiteral("/ziel"), c.folder));
        }
    }
}

// While A works, her folder's place is taken: BENUTZER renamed aside and a folder of B's
// put under her name, holding a database and a journal of his (or her folder only moved
// aside). No command reads or writes there: each says, in one box, that her folder is no
// longer the one checked at the start and where that one lies now; the save replaces
// nothing, and the end leaves her work where it lies, saying so.
TEST_F(SharedProject, ARenamedUsersFolderReachesNobodysWorkingCopy)
{
    REQUIRE_OTHER_USER("a folder of another user put in the place of the user's own");
    for (const bool planted : {true, false}) {
        SCOPED_TRACE(planted ? "BENUTZER renamed and a folder planted" : "her folder moved aside");
        main.reset();
        dialogs->shown.clear();
        const QString benutzer = root() + QStringLiteral("/BENUTZER");
        QDir(benutzer).removeRecursively();
        QDir(benutzer + QStringLiteral(".alt")).removeRecursively();
        ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
        Edit(*main, "Beispiel", "ihre Arbeit");
        const QByteArray project = BytesOf(projectDb());
        const QString held = planted ? benutzer + QStringLiteral(".alt/") + UserName().toUpper()
                                     : userFolder() + QStringLiteral(".alt");
        if (planted) {
            ASSERT_TRUE(QDir().rename(benutzer, benutzer + QStringLiteral(".alt")));
            const OtherUser b;
            ASSERT_TRUE(QDir().mkpath(userFolder()));
            SetMode(benutzer, 0777);
            SetMode(userFolder(), 0777);
            CopyDatabase(projectDb(), workingCopy());
            Write(workingCopy() + QStringLiteral("-journal"), QByteArray(4096, 'j'));
        } else {
            ASSERT_TRUE(QDir().rename(userFolder(), held));
        }
        const QStringList entries = Entries(userFolder());
        const QByteArray plantedDb = BytesOf(workingCopy());
        const QString lost = QStringLiteral("Zugriff verweigert: ") + userFolder()
                             + QStringLiteral("\r\nDer Ordner ist nicht mehr der beim Start geprüfte: er wurde verschoben "
                                              "oder ersetzt. Der geprüfte Ordner liegt jetzt unter ")
                             + held + QLatin1Char('.');

        dialogs->msgAnswers = {MsgResult::OK, MsgResult::OK, MsgResult::Yes, MsgResult::OK, MsgResult::Cancel};
        main->mnuOEFFNEN_Click();
        main->mnuSPEICHERN_Click();
        main->mnuBEENDEN_Click();
        EXPECT_TRUE(main->unloaded());
        const auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), 5u);
        EXPECT_EQ(boxes[0].text, QStringLiteral("VB-Error: 70\n") + lost);   // Öffnen
        EXPECT_EQ(boxes[1].text, QStringLiteral("VB-Error: 70\n") + lost);   // Speichern
        EXPECT_EQ(boxes[2].text, QStringLiteral("Sollen die Änderungen in Projekt TE0000.00 gespeichert werden?"));
        EXPECT_EQ(boxes[3].text, QStringLiteral("VB-Error: 70\n") + lost);
        EXPECT_EQ(boxes[4].text, QStringLiteral("Die Änderungen wurden nicht gespeichert.\r\nWiederholen: noch einmal "
                                                "speichern. Abbrechen: beenden; Ihre Arbeitskopie bleibt in ")
                                     + held + QStringLiteral(" und wird beim nächsten Start nicht angeboten."));
        // Nothing read or written in the folder that took her folder's place, nor in the
        // project; her work lies where the box said.
        EXPECT_EQ(Entries(userFolder()), entries);
        EXPECT_EQ(BytesOf(workingCopy()), plantedDb);
        EXPECT_EQ(BytesOf(projectDb()), project);
        EXPECT_EQ(Comment(held + QStringLiteral("/TREMOL.mdb"), "Beispiel"), QStringLiteral("ihre Arbeit"));
    }
}

// A folder under her name that she may not remove (made by the owner of BENUTZER, where
// each may remove only his own entries) is refused as ever, and the box names who may
// remove it.
TEST_F(SharedProject, ARefusedFolderTheUserMayNotRemoveNamesWhoMay)
{
    REQUIRE_OTHER_USER("a folder of another user under the user's name");
    const QString benutzer = root() + QStringLiteral("/BENUTZER");
    ASSERT_TRUE(QDir().mkpath(benutzer + QLatin1Char('/') + OtherUser::Name()));
    SetMode(benutzer, 01777);
    const QString owner = UserName().toUpper();
    EXPECT_EQ(RefusedStartOfB().text,
              QStringLiteral("Die Arbeitskopie des Projekts TE0000.00 kann nicht angelegt werden:\r\nZugriff verweigert: ")
                  + benutzer + QLatin1Char('/') + OtherUser::Name() + QStringLiteral("\r\nDer Ordner gehört dem Benutzer ")
                  + owner + QStringLiteral(", nicht Ihnen. Entfernen kann ihn nur der Benutzer ") + owner + QLatin1Char('.'));
}
