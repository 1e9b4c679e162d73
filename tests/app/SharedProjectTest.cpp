// Several users on one project, each with a working copy of their own: a save never
// throws away what someone else saved without asking, and an end never drops work that
// someone else's save replaced in the project.
#include "AppFixture.h"
#include "app/OriginMarker.h"
#include "platform/FileOps.h"
#include "platform/FileState.h"
#include "platform/Yield.h"
#include "setup/SuiteSetup.h"
#include "support/OtherUser.h"

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

QString ReplaceQuestion(const QString& db)
{
    return QStringLiteral("Das Projekt TE0000.00 wurde anderweitig gespeichert, seit Ihre Arbeitskopie angelegt oder "
                          "zuletzt gespeichert wurde: am ")
           + WhenAndWho(db)
           + QStringLiteral(".\r\nJa: Projekt trotzdem ersetzen; was dort seitdem gespeichert wurde, geht verloren.\r\n"
                            "Nein: Projekt nicht ersetzen; Ihre Arbeitskopie bleibt erhalten und wird beim nächsten "
                            "Start angeboten, damit geänderte Datensätze mit Export-Import übertragen werden können.");
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
    EXPECT_TRUE(boxes[0].text.startsWith(QStringLiteral("Programm wurde während der Ausführung unterbrochen!")));
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
    EXPECT_EQ(QDir(ParentFolder(projectDb())).entryList(QDir::Files), QStringList{QStringLiteral("TREMOL.mdb")});

    // Its own save is what the project holds now: the next one asks nothing.
    dialogs->shown.clear();
    Edit(*main, "Beispiel", "wieder hier");
    main->mnuSPEICHERN_Click();
    EXPECT_TRUE(Boxes().empty());
}

// A marker of an older run names only the project database: its copy is offered and
// saved as before (the project as found at the start stands in for the state it
// lacks), and the marker written then holds the state.
TEST_F(SharedProject, AnOlderMarkerWithoutTheStateStillWorks)
{
    LeaveWorkingCopy(QStringLiteral("TE0000.00"), true);
    ASSERT_FALSE(ReadOrigin(workingCopy()).base);
    dialogs->msgAnswers = {MsgResult::Yes};
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    EXPECT_EQ(Boxes().size(), 1u);
    const Origin origin = ReadOrigin(workingCopy());
    EXPECT_EQ(origin.projectDb, QFileInfo(projectDb()).canonicalFilePath());
    ASSERT_TRUE(origin.base);
    EXPECT_TRUE(origin.base->sameContent(*StateOfFile(projectDb())));

    main->mnuSPEICHERN_Click();
    EXPECT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(RestRows(projectDb()), 1);
    // The marker follows the save: it holds the project as saved.
    EXPECT_TRUE(ReadOrigin(workingCopy()).base->sameContent(*StateOfFile(projectDb())));
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
    dialogsB->msgAnswers = {MsgResult::OK};
    EXPECT_EQ(StartB(), frmMAIN::StartResult::Ended);
    const auto boxes = dialogsB->boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Die Arbeitskopie des Projekts TE0000.00 kann nicht angelegt werden:\r\n"
                                            "Zugriff verweigert: ")
                                 + benutzer + QLatin1Char('/') + OtherUser::Name());
    EXPECT_EQ(boxes[0].icon, MsgIcon::Exclamation);

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
// would let a new file take its name: the save's box names it.
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
    EXPECT_EQ(QDir(ParentFolder(projectDb())).entryList(QDir::Files), QStringList{QStringLiteral("TREMOL.mdb")});
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
    EXPECT_EQ(QDir(ParentFolder(disk)).entryList(QDir::Files), QStringList{QStringLiteral("TREMOL.mdb")});
}
