// Start-up from the frame program's admin row, its refusals, development mode,
// the status panels and the lock against a second running copy.
#include "AppFixture.h"
#include "app/frmMAIN.h"
#include "platform/FileOps.h"
#include "platform/InstanceLock.h"
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <functional>

class RefusalTest : public AppFixture, public ::testing::WithParamInterface<bool> {};

TEST_P(RefusalTest, NoAdminRowEndsAtOnceWithOneMessageAndWritesNothing)
{
    const bool english = GetParam();
    LocaleScope locale(english ? English() : German());
    Exec(archive(), QStringLiteral("DELETE FROM [ADMIN]"));
    dialogs->msgAnswers = {MsgResult::OK};

    EXPECT_EQ(Start(), frmMAIN::StartResult::Ended);

    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, english ? QStringLiteral("Program TREMOL can used only via the frame program!")
                                     : QStringLiteral("Programm TREMOL kann nur über das Rahmenprogramm ausgeführt werden!"));
    EXPECT_EQ(boxes[0].title, QStringLiteral("TREMOL"));
    EXPECT_EQ(boxes[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(boxes[0].buttons, MsgButtons::OK);
    EXPECT_EQ(CLng(Scalar(archive(), QStringLiteral("SELECT COUNT(*) FROM [ADMIN]"))), 0);
    EXPECT_FALSE(FileExists(workingCopy()));
    EXPECT_FALSE(main->isVisible());
}

TEST_P(RefusalTest, MissingProjectFolderNamesTheProjectAndLeavesProgInTheRow)
{
    const bool english = GetParam();
    LocaleScope locale(english ? English() : German());
    ASSERT_TRUE(QDir(suite->projectsFolder() + QStringLiteral("/TE0000.00")).removeRecursively());
    dialogs->msgAnswers = {MsgResult::OK};

    EXPECT_EQ(Start(), frmMAIN::StartResult::Ended);

    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, english ? QStringLiteral("Project directory TE0000.00 dosn't exist!")
                                     : QStringLiteral("Projektsverzeichnis TE0000.00 existiert nicht!"));
    EXPECT_EQ(Prog(), QStringLiteral("TREMOL"));
    EXPECT_FALSE(FileExists(workingCopy()));
}

TEST_P(RefusalTest, MissingTemplateAsksForReinstallation)
{
    const bool english = GetParam();
    LocaleScope locale(english ? English() : German());
    DeleteFile(suite->programFolder() + QStringLiteral("/TREMOL.mdb"));
    dialogs->msgAnswers = {MsgResult::OK};

    EXPECT_EQ(Start(), frmMAIN::StartResult::Ended);

    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, english ? QStringLiteral("The empty database TREMOL.mdb dosn't exist!\r\n"
                                                      "Stratega has to be installed again!")
                                     : QStringLiteral("Die leere Datenbank TREMOL.mdb existiert nicht!\r\n"
                                                      "Stratega muß neu installiert werden!"));
    EXPECT_EQ(Prog(), QStringLiteral("TREMOL"));
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, RefusalTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "English" : "German"; });

using StartupTest = AppFixture;

TEST_F(StartupTest, ValidRowStartsWithPanelsWorkingCopyAndStartWindow)
{
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);

    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(Prog(), QStringLiteral("TREMOL"));
    EXPECT_EQ(main->PROJEKT(), QStringLiteral("TE0000.00"));
    EXPECT_EQ(main->PROJEKTSPFAD(), suite->projectsFolder());
    EXPECT_EQ(main->DATENBANKPFAD(), suite->datenFolder());
    EXPECT_EQ(main->SPRACHE(), 3);
    EXPECT_EQ(main->DEZIMALPUNKT(), QStringLiteral(","));
    EXPECT_FALSE(main->EBOINF());

    StatusBar& stb = *main->stbMAIN;
    EXPECT_EQ(stb.Panels(1).toolTip(), suite->projectsFolder());
    EXPECT_EQ(stb.Panels(1).text(), KurzerProjektspfad(suite->projectsFolder()));
    EXPECT_EQ(stb.Panels(2).text(), QStringLiteral("TE0000.00"));
    EXPECT_EQ(stb.Panels(2).toolTip(), main->BEARBEITER());
    EXPECT_FALSE(main->BEARBEITER().isEmpty());
    EXPECT_EQ(stb.Panels(4).text(), QStringLiteral("TREMOL"));
    EXPECT_EQ(stb.Panels(4).toolTip(), QStringLiteral("Tremola"));
    // The example project has one active record.
    EXPECT_EQ(stb.Panels(6).text(), QStringLiteral("Beispiel"));

    // The working copy: the user's folder beside the program folder, the project's content.
    EXPECT_EQ(main->XMDBPFAD(), workingCopy());
    EXPECT_TRUE(FileExists(workingCopy()));
    EXPECT_EQ(CLng(Scalar(workingCopy(), QStringLiteral("SELECT COUNT(*) FROM [E4]"))),
              CLng(Scalar(projectDb(), QStringLiteral("SELECT COUNT(*) FROM [E4]"))));
    EXPECT_FALSE(main->Changed());
    ASSERT_TRUE(main->cnnX() && main->cnnX()->isOpen());
    ASSERT_TRUE(main->cnnX_V() && main->cnnX_V()->isOpen());

    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(main->isMaximized());
    mdiAUTOSTART& start = main->AUTOSTART();
    EXPECT_TRUE(start.isVisible());
    EXPECT_FALSE(start.pgbBERECHNEN->isVisible());
    EXPECT_EQ(main->mdiArea->activeSubWindow()->widget(), &start);
}

TEST_F(StartupTest, LanguageFollowsTheLocaleLanguageOnly)
{
    const struct {
        QLocale locale;
        int sprache;
        const char* separator;
    } cases[] = {
        {QLocale(QLocale::German, QLocale::Austria), 3, ","},
        {QLocale(QLocale::French, QLocale::France), 3, ","},
        {QLocale(QLocale::English, QLocale::UnitedKingdom), 1, "."},
        {English(), 1, "."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString());
        LocaleScope locale(c.locale);
        main.reset();
        ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
        EXPECT_EQ(main->SPRACHE(), c.sprache);
        EXPECT_EQ(main->DEZIMALPUNKT(), QString::fromUtf8(c.separator));
        main->mnuBEENDEN_Click();
    }
}

TEST_F(StartupTest, MissingArchiveGivesErrorBoxesThenTheRefusal)
{
    DeleteFile(archive());
    dialogs->msgAnswers.assign(4, MsgResult::OK);
    EXPECT_EQ(Start(), frmMAIN::StartResult::Ended);
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 4u);   // open, query, test; then the refusal
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(boxes[i].text.startsWith(QStringLiteral("VB-Error: "))) << boxes[i].text.toStdString();
        EXPECT_EQ(boxes[i].title, QStringLiteral("TREMOL"));
    }
    EXPECT_EQ(boxes[3].text, QStringLiteral("Programm TREMOL kann nur über das Rahmenprogramm ausgeführt werden!"));
    EXPECT_FALSE(FileExists(workingCopy()));
}

TEST_F(StartupTest, MissingPresetsDatabaseGivesOneErrorBoxAndRuns)
{
    DeleteFile(suite->datenFolder() + QStringLiteral("/VORGABE.mdb"));
    dialogs->msgAnswers = {MsgResult::OK};
    EXPECT_EQ(Start(), frmMAIN::StartResult::Running);
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].text.startsWith(QStringLiteral("VB-Error: ")));
    EXPECT_TRUE(main->cnnX()->isOpen());
    EXPECT_EQ(Prog(), QStringLiteral("TREMOL"));
}

TEST_F(StartupTest, CancelInAnErrorBoxShowsTheWindowAsFarAsSetUp)
{
    DeleteFile(suite->datenFolder() + QStringLiteral("/VORGABE.mdb"));
    dialogs->msgAnswers = {MsgResult::Cancel};
    EXPECT_EQ(Start(), frmMAIN::StartResult::Running);
    EXPECT_EQ(Boxes().size(), 1u);
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(main->mdiArea->subWindowList().isEmpty());
    EXPECT_FALSE(main->cnnX());
    EXPECT_EQ(Prog(), QStringLiteral("KALMARO"));   // the row was not reached
}

// Left with Cancel before its working copy, the start shows the window without one:
// every command that needs it says so in the program's error box, and none reaches the
// missing connection or opens a window.
TEST_F(StartupTest, WithoutAWorkingCopyTheCommandsThatNeedItSaySo)
{
    DeleteFile(suite->datenFolder() + QStringLiteral("/VORGABE.mdb"));
    dialogs->msgAnswers = {MsgResult::Cancel};
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    ASSERT_FALSE(main->cnnX());
    int dialogsOpened = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            ++dialogsOpened;
            modal->close();
        }
    });
    closer.start(20);
    const struct {
        const char* menu;
        std::function<void()> command;
    } commands[] = {
        {"mnuNEU", [&] { main->mnuNEU_Click(); }},
        {"mnuOEFFNEN", [&] { main->mnuOEFFNEN_Click(); }},
        {"mnuAUSWAHL", [&] { main->mnuAUSWAHL_Click(); }},
        {"mnuLOESCHEN", [&] { main->mnuLOESCHEN_Click(); }},
        {"mnuEXPIMP", [&] { main->mnuEXPIMP_Click(); }},
        {"mnuAUSWERTEN", [&] { main->mnuAUSWERTEN_Click(); }},
        {"mnuEINGABEGRAFIK", [&] { main->mnuEINGABEGRAFIK_Click(); }},
        {"mnuBERECHNEN", [&] { main->mnuBERECHNEN_Click(); }},
        {"mnuNEUBERECHNEN", [&] { main->mnuNEUBERECHNEN_Click(); }},
    };
    for (const auto& c : commands) {
        SCOPED_TRACE(c.menu);
        dialogs->shown.clear();
        dialogs->msgAnswers = {MsgResult::OK};
        c.command();
        const auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, QStringLiteral("VB-Error: 3704\nDie Arbeitskopie ist nicht geöffnet: ohne sie kann der "
                                                "Befehl nicht ausgeführt werden. Beenden Sie das Programm und starten "
                                                "Sie es neu."));
        EXPECT_EQ(boxes[0].title, main->Caption(QLatin1String(c.menu)));
        EXPECT_EQ(boxes[0].buttons, MsgButtons::OK);
        EXPECT_EQ(dialogsOpened, 0);
        EXPECT_EQ(main->mdiArea->subWindowList().size(), 0);
    }
}

TEST_F(StartupTest, UserNameWithQuoteCannotBreakTheAdminQuery)
{
    // The query is built with the quote doubled and finds exactly that user's row.
    Exec(archive(), QStringLiteral("INSERT INTO [ADMIN] ([BENUTZER],[PROG]) VALUES ('O''BRIEN','X')"));
    auto cnn = OpenDatabase(archive());
    Recordset rs;
    rs.Open(AdminAbfrage(QStringLiteral("[PROG]"), QStringLiteral("O'BRIEN")), cnn);
    ASSERT_FALSE(rs.Eof());
    EXPECT_EQ(CStr(rs.Fields(0).Value()), QStringLiteral("X"));
    rs.Close();
    rs.Open(AdminAbfrage(QStringLiteral("*"), QStringLiteral("X' OR '1'='1")), cnn);
    EXPECT_TRUE(rs.Eof());
    rs.Close();
    cnn->Close();
}

TEST_F(StartupTest, DevelopmentModeNeedsNoAdminRowAndLeavesItAlone)
{
    // A program folder below a folder named "source" (any case).
    const QString base = root() + QStringLiteral("/source");
    const QString program = base + QStringLiteral("/TREMOL");
    ASSERT_TRUE(QDir().mkpath(program));
    ASSERT_TRUE(QDir().mkpath(base + QStringLiteral("/TE0000.00")));
    ASSERT_TRUE(QFile::copy(projectDb(), base + QStringLiteral("/TE0000.00/TREMOL.mdb")));
    Exec(archive(), QStringLiteral("UPDATE [ADMIN] SET [PROG]='UNVERAENDERT'"));

    ASSERT_EQ(Start(program), frmMAIN::StartResult::Running);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(main->PROJEKT(), QStringLiteral("TE0000.00"));
    EXPECT_EQ(main->PROJEKTSPFAD(), base);
    EXPECT_EQ(main->BEARBEITER(), UserName().toUpper());
    EXPECT_FALSE(main->cnnX_V());
    EXPECT_TRUE(FileExists(base + QStringLiteral("/BENUTZER/") + UserName().toUpper() + QStringLiteral("/TREMOL.mdb")));

    main->mnuBEENDEN_Click();
    EXPECT_TRUE(main->unloaded());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(Prog(), QStringLiteral("UNVERAENDERT"));
}

TEST_F(StartupTest, SecondRunningCopyForTheSameUserIsRefused)
{
    ASSERT_TRUE(QDir().mkpath(userFolder()));
    InstanceLock other;
    ASSERT_TRUE(other.Acquire(userFolder() + QStringLiteral("/TREMOL.lock")));
    dialogs->msgAnswers = {MsgResult::OK};

    EXPECT_EQ(Start(), frmMAIN::StartResult::Ended);
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Programm TREMOL läuft bereits für Benutzer ") + UserName().toUpper()
                                 + QLatin1Char('!'));
    EXPECT_FALSE(FileExists(workingCopy()));

    // Once the other copy has gone, the program starts.
    other.Release();
    dialogs->shown.clear();
    EXPECT_EQ(Start(), frmMAIN::StartResult::Running);
    EXPECT_TRUE(Boxes().empty());

    // A lock file that cannot be written is an error, not another running copy.
    InstanceLock unwritable;
    EXPECT_EQ(VbErrorOf([&] { unwritable.Acquire(userFolder() + QStringLiteral("/missing/TREMOL.lock")); }),
              VbErr::PermissionDenied);
}

TEST_F(StartupTest, ActiveRecordsPanel)
{
    const struct {
        const char* name;
        const char* rows;   // E1 rows to put into the project
        const char* text;
        const char* tip;
    } cases[] = {
        {"none", "", "-", ""},
        {"one with null comment", "(5,'Wand1',NULL,1),(6,'Wand2','zwei',0)", "Wand1", ""},
        {"one with comment", "(5,'Wand1','links',1)", "Wand1", "links"},
        {"three", "(7,'C','c',1),(5,'A','a',1),(6,'B',NULL,1)", "A,...", "A, B, C"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        main.reset();
        Exec(projectDb(), QStringLiteral("DELETE FROM [E1]"));
        if (*c.rows)
            Exec(projectDb(), QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[KOM],[AKT]) VALUES %1").arg(QLatin1String(c.rows)));
        ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
        EXPECT_EQ(main->stbMAIN->Panels(6).text(), QString::fromUtf8(c.text));
        EXPECT_EQ(main->stbMAIN->Panels(6).toolTip(), QString::fromUtf8(c.tip));
        main->mnuBEENDEN_Click();
    }
}

TEST(ProjectFolderPanel, ShortensAtSeparatorsAndNeverHangs)
{
    const struct {
        const char* path;
        const char* shown;
    } cases[] = {
        {"/home/anna/Projekte", "/home/anna/Projekte/"},
        {"/home/anna/Projekte1", "/home/anna/Projekte1/"},   // exactly 20
        {"/home/anna/Projekte12", " ... home/anna/Projekte12/"},
        {"/srv/stratega/projekte/2024", " ... /projekte/2024/"},
        {"C:/Projekte/Stadt/Bauvorhaben", " ... /Stadt/Bauvorhaben/"},
        {"C:/Abcdefghijklmnopqr", " ... :/Abcdefghijklmnopqr/"},
        // The last folder name alone is longer than 20: kept as it stands.
        {"/p/Bauvorhaben_Flussufer_Nord", " ... p/Bauvorhaben_Flussufer_Nord/"},
        {"Bauvorhaben_Flussufer_Nord_Ost", " ... auvorhaben_Flussufer_Nord_Ost/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KurzerProjektspfad(QString::fromUtf8(c.path)), QString::fromUtf8(c.shown)) << c.path;
}
