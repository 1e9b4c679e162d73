// Shutdown: the save question, the hand-back in the admin row, the start of the
// frame program, unloading the forms and deleting the working copy.
#include "AppFixture.h"
#include "platform/FileOps.h"
#include "platform/SessionEnd.h"
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <csignal>

namespace {

// A form whose unload handler notes whether the working copy was still open.
class ProbeForm : public QWidget {
public:
    ProbeForm(std::shared_ptr<Connection> cnn, std::vector<bool>& log) : cnn_(std::move(cnn)), log_(log) {}
    ~ProbeForm() override { log_.push_back(cnn_->isOpen()); }

private:
    std::shared_ptr<Connection> cnn_;
    std::vector<bool>& log_;
};

} // namespace

class ShutdownTest : public AppFixture {
protected:
    void StartChanged()
    {
        ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
        main->cnnX()->Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (9,'Neu',0)"));
        main->MarkChanged();
    }
    int32_t SavedRows() const
    {
        return CLng(Scalar(projectDb(), QStringLiteral("SELECT COUNT(*) FROM [E1] WHERE [KEN]='Neu'")));
    }
};

TEST_F(ShutdownTest, ChangedAndQuitAsksSavesAndHandsBackWithoutStartingTheFrame)
{
    for (const bool english : {false, true}) {
        SCOPED_TRACE(english ? "English" : "German");
        LocaleScope locale(english ? English() : German());
        main.reset();
        dialogs->shown.clear();
        Exec(projectDb(), QStringLiteral("DELETE FROM [E1] WHERE [KEN]='Neu'"));
        StartChanged();
        dialogs->msgAnswers = {MsgResult::Yes};

        main->mnuBEENDEN_Click();

        const auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, english ? QStringLiteral("Do you want to save changes to project TE0000.00?")
                                         : QStringLiteral("Sollen die Änderungen in Projekt TE0000.00 gespeichert werden?"));
        EXPECT_EQ(boxes[0].title, english ? QStringLiteral("&Quit") : QStringLiteral("&Beenden"));
        EXPECT_EQ(boxes[0].buttons, MsgButtons::YesNoCancel);
        EXPECT_TRUE(main->unloaded());
        EXPECT_EQ(SavedRows(), 1);
        EXPECT_EQ(Prog(), QStringLiteral("KALMARO"));
        EXPECT_FALSE(FileExists(workingCopy()));
        EXPECT_FALSE(FrameStarted(500));
    }
}

TEST_F(ShutdownTest, SaveQuestionNoLeavesTheProjectUnchanged)
{
    StartChanged();
    dialogs->msgAnswers = {MsgResult::No};
    main->mnuBEENDEN_Click();
    EXPECT_TRUE(main->unloaded());
    EXPECT_EQ(SavedRows(), 0);
    EXPECT_FALSE(FileExists(workingCopy()));
}

TEST_F(ShutdownTest, UnchangedWindowCloseAsksNothingStartsTheFrameAndDeletesTheCopy)
{
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    bool ended = false;
    QObject::connect(main.get(), &frmMAIN::Ended, [&] { ended = true; });

    EXPECT_TRUE(main->close());   // the window's own close: unload mode 0

    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(ended);
    EXPECT_TRUE(FrameStarted(5000));
    EXPECT_FALSE(FileExists(workingCopy()));
    EXPECT_EQ(Prog(), QStringLiteral("KALMARO"));
}

TEST_F(ShutdownTest, DoneThenCancelKeepsTheWindowAndQuitDoesNotStartTheFrame)
{
    StartChanged();
    dialogs->msgAnswers = {MsgResult::Cancel};
    main->mnuSCHLIESSEN_Click();
    EXPECT_FALSE(main->unloaded());
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(Prog(), QStringLiteral("TREMOL"));
    EXPECT_TRUE(FileExists(workingCopy()));

    dialogs->msgAnswers = {MsgResult::No};
    main->mnuBEENDEN_Click();
    EXPECT_TRUE(main->unloaded());
    EXPECT_EQ(Boxes().size(), 2u);
    EXPECT_FALSE(FrameStarted(500));
}

TEST_F(ShutdownTest, DoneStartsTheFrameAndWithoutOneEndsSilently)
{
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    main->mnuSCHLIESSEN_Click();
    EXPECT_TRUE(FrameStarted(5000));

    main.reset();
    QFile::remove(frameLog());
    DeleteFile(root() + QStringLiteral("/KALMARO"));
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    main->mnuSCHLIESSEN_Click();
    EXPECT_TRUE(main->unloaded());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_FALSE(FileExists(frameLog()));
}

TEST_F(ShutdownTest, FormsUnloadBeforeTheConnectionsClose)
{
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    std::vector<bool> openAtUnload;
    main->mdiArea->addSubWindow(new ProbeForm(main->cnnX(), openAtUnload))->show();
    main->mdiArea->addSubWindow(new ProbeForm(main->cnnX(), openAtUnload))->show();

    main->mnuBEENDEN_Click();

    EXPECT_EQ(openAtUnload, (std::vector<bool>{true, true}));
    EXPECT_TRUE(main->mdiArea->subWindowList().isEmpty());
    EXPECT_FALSE(main->cnnX()->isOpen());
}

// A save at exit that fails may be tried again once the cause is mended; ending
// instead keeps the working copy for the recovery at the next start.
TEST_F(ShutdownTest, FailedSaveAtExitOffersRetryOrEndsKeepingTheWorkingCopy)
{
    const QString project = suite->projectsFolder() + QStringLiteral("/TE0000.00");
    const QByteArray database = BytesOf(projectDb());
    for (const MsgResult choice : {MsgResult::Cancel, MsgResult::Retry}) {
        SCOPED_TRACE(choice == MsgResult::Retry ? "Retry" : "Cancel");
        main.reset();
        dialogs->shown.clear();
        QFile::remove(workingCopy());
        ASSERT_TRUE(QDir().mkpath(project));
        QFile restored(projectDb());
        ASSERT_TRUE(restored.open(QIODevice::WriteOnly));
        restored.write(database);
        restored.close();
        StartChanged();
        ASSERT_TRUE(QDir(project).removeRecursively());
        // The user mends the cause while the question is shown.
        dialogs->onShow = [&](const ScriptedDialogService::Shown& shown) {
            if (shown.box.buttons == MsgButtons::RetryCancel)
                QDir().mkpath(project);
        };
        dialogs->msgAnswers = {MsgResult::Yes, MsgResult::OK, choice};

        main->mnuBEENDEN_Click();
        dialogs->onShow = nullptr;

        EXPECT_TRUE(main->unloaded());
        const auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), 3u);
        EXPECT_EQ(boxes[1].title, QStringLiteral("&Speichern"));
        EXPECT_EQ(boxes[2].text, QStringLiteral("Die Änderungen wurden nicht gespeichert.\r\nWiederholen: noch einmal "
                                                "speichern. Abbrechen: beenden; die Arbeitskopie bleibt erhalten und "
                                                "wird beim nächsten Start angeboten."));
        EXPECT_EQ(boxes[2].buttons, MsgButtons::RetryCancel);
        if (choice == MsgResult::Retry) {
            EXPECT_EQ(SavedRows(), 1);
            EXPECT_FALSE(FileExists(workingCopy()));
        } else {
            EXPECT_FALSE(FileExists(projectDb()));
            EXPECT_EQ(CLng(Scalar(workingCopy(), QStringLiteral("SELECT COUNT(*) FROM [E1] WHERE [KEN]='Neu'"))), 1);
        }
    }
}

TEST_F(ShutdownTest, EndsFromOutsideNeverAskAndKeepAChangedCopy)
{
    const struct {
        int mode;
        bool changed;
        bool afterDoneCancelled;
        bool copyKept;
        bool frame;
    } cases[] = {
        {UnloadMode::SessionEnd, true, false, true, false},
        {UnloadMode::TaskKill, true, false, true, false},
        {UnloadMode::TaskKill, false, false, false, false},
        // "&Schließen" cancelled earlier: the return-to-frame flag stays set.
        {UnloadMode::SessionEnd, true, true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " changed " << c.changed << " done "
                                        << c.afterDoneCancelled);
        main.reset();
        dialogs->shown.clear();
        QFile::remove(frameLog());
        QFile::remove(workingCopy());
        ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
        if (c.changed)
            main->MarkChanged();
        if (c.afterDoneCancelled) {
            dialogs->msgAnswers = {MsgResult::Cancel};
            main->mnuSCHLIESSEN_Click();
            dialogs->shown.clear();
        }

        EXPECT_TRUE(main->Unload(c.mode));

        EXPECT_TRUE(Boxes().empty());
        EXPECT_EQ(FileExists(workingCopy()), c.copyKept);
        EXPECT_EQ(Prog(), QStringLiteral("KALMARO"));
        EXPECT_EQ(FrameStarted(c.frame ? 5000 : 300), c.frame);
    }
}

TEST_F(ShutdownTest, TerminationSignalUnloadsWithoutQuestion)
{
    StartChanged();
    InstallSessionEndHandler([this](int mode) { main->Unload(mode); });
    std::raise(SIGTERM);
    QElapsedTimer t;
    t.start();
    while (!main->unloaded() && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    InstallSessionEndHandler(nullptr);

    EXPECT_TRUE(main->unloaded());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(FileExists(workingCopy()));
    EXPECT_EQ(Prog(), QStringLiteral("KALMARO"));
}

TEST_F(ShutdownTest, FrameProgramThatIsNotExecutableIsReportedAsSuch)
{
    const QString frame = root() + QStringLiteral("/KALMARO");
    ASSERT_TRUE(QFile::setPermissions(frame, QFile::ReadOwner | QFile::WriteOwner));
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    dialogs->msgAnswers = {MsgResult::OK};

    main->mnuSCHLIESSEN_Click();

    EXPECT_TRUE(main->unloaded());
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("VB-Error: 70\nDas Programm ist nicht ausführbar: ") + frame);
    EXPECT_EQ(boxes[0].title, QStringLiteral("TREMOL"));
    EXPECT_FALSE(FrameStarted(300));
}
