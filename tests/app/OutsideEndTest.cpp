// Ends asked for from outside (termination signals) while a dialog, the start-up or
// a command runs: they wait until it has returned, then unload as their mode says.
#include "AppFixture.h"
#include "platform/FileOps.h"
#include "platform/InstanceLock.h"
#include "platform/ReplacementLock.h"
#include "platform/SessionEnd.h"
#include "platform/Yield.h"
#include "support/OtherProcessLock.h"
#include <QApplication>
#include <QTimer>
#include <csignal>

class OutsideEndTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        InstallSessionEndHandler([this](int mode) { main->Unload(mode); });
    }
    void TearDown() override
    {
        InstallSessionEndHandler(nullptr);
        AppFixture::TearDown();
    }
    // A termination signal while a box is shown, and the events a modal dialog's own
    // loop would process meanwhile.
    void SignalWhileShown()
    {
        std::raise(SIGTERM);
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
        EXPECT_FALSE(main->unloaded());
    }
};

TEST_F(OutsideEndTest, DuringTheRecoveryQuestionTheStartUpEndsFirstAndTheLeftOverWorkIsKept)
{
    LeaveWorkingCopy(QStringLiteral("TE0000.00"), true);
    dialogs->onShow = [this](const ScriptedDialogService::Shown&) { SignalWhileShown(); };

    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    EXPECT_FALSE(main->unloaded());

    EXPECT_TRUE(UnloadedWithin(UnloadPatienceMs));
    EXPECT_EQ(Boxes().size(), 1u);   // the question only, closed unanswered
    EXPECT_TRUE(FileExists(workingCopy()));
    EXPECT_EQ(RestRows(workingCopy()), 1);
    EXPECT_EQ(Prog(), QStringLiteral("KALMARO"));
}

TEST_F(OutsideEndTest, WhileTheAboutBoxIsOpenItClosesAndTheProgramEndsAfterwards)
{
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    bool boxOpen = false;
    QTimer::singleShot(0, [&] {
        boxOpen = QApplication::activeModalWidget() != nullptr;
        std::raise(SIGTERM);
    });

    main->mnuINFO_Click();   // returns when the waiting end has closed the box

    EXPECT_TRUE(boxOpen);
    EXPECT_FALSE(main->unloaded());
    EXPECT_TRUE(UnloadedWithin(UnloadPatienceMs));
    EXPECT_FALSE(FileExists(workingCopy()));
    EXPECT_EQ(Prog(), QStringLiteral("KALMARO"));
}

TEST_F(OutsideEndTest, DuringARefusalNothingOfTheRunningCopyIsTouched)
{
    // The copy that runs: its lock, its working copy with unsaved work, its entry.
    LeaveWorkingCopy(QStringLiteral("TE0000.00"), true);
    InstanceLock running;
    ASSERT_TRUE(running.Acquire(userFolder() + QStringLiteral("/TREMOL.lock")));
    dialogs->onShow = [this](const ScriptedDialogService::Shown&) { SignalWhileShown(); };

    EXPECT_EQ(Start(), frmMAIN::StartResult::Ended);
    UnloadedWithin(300);
    main->Unload(UnloadMode::TaskKill);   // a signal that comes later still

    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_TRUE(Boxes()[0].text.contains(QStringLiteral("läuft bereits")));
    EXPECT_EQ(RestRows(workingCopy()), 1);
    EXPECT_TRUE(FileExists(workingCopy() + QStringLiteral(".origin")));
    EXPECT_EQ(Prog(), QStringLiteral("TREMOL"));
}

TEST_F(OutsideEndTest, UnderAYieldingCommandTheUnloadWaitsForTheCommand)
{
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    main->MarkChanged();
    const std::shared_ptr<Connection> cnn = main->cnnX();

    // A command that writes row by row and yields after each row.
    std::raise(SIGTERM);
    for (int row = 0; row < 3; ++row) {
        DoEvents();
        EXPECT_FALSE(main->unloaded());
        cnn->Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (%1,'Zeile',0)").arg(20 + row));
    }

    EXPECT_TRUE(UnloadedWithin(UnloadPatienceMs));
    EXPECT_FALSE(cnn->isOpen());
    EXPECT_EQ(CLng(Scalar(workingCopy(), QStringLiteral("SELECT COUNT(*) FROM [E1] WHERE [KEN]='Zeile'"))), 3);
    EXPECT_EQ(Prog(), QStringLiteral("KALMARO"));
}

// An end from outside while a save asks whether to wait on for another one (the lock
// held by another process) closes the question unanswered: the save is given up, the
// changes stay in the working copy for the next start, and the program ends.
TEST_F(OutsideEndTest, WhileASaveAsksWhetherToWaitOnTheSaveIsGivenUpAndTheWorkIsKept)
{
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    main->cnnX()->Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (9,'Rest',0)"));
    main->MarkChanged();
    const OtherProcessLock other(projectDb());
    ASSERT_TRUE(other.Held());
    dialogs->onShow = [this](const ScriptedDialogService::Shown&) { SignalWhileShown(); };

    main->mnuSPEICHERN_Click();

    EXPECT_EQ(Boxes().size(), 1u);   // the question only, closed unanswered
    EXPECT_EQ(RestRows(projectDb()), 0);
    EXPECT_TRUE(UnloadedWithin(UnloadPatienceMs));
    EXPECT_EQ(RestRows(workingCopy()), 1);
    EXPECT_FALSE(ReadOrigin(workingCopy()).kept);   // offered as left by an interruption
}

// A save waiting for another one's replacement (the lock beside the project held) is
// given up by an end from outside: the project stays as the other left it, the changes
// stay in the working copy for the next start, and the program ends.
TEST_F(OutsideEndTest, ASaveWaitingForAnotherIsGivenUpAndTheWorkIsKept)
{
    ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
    main->cnnX()->Execute(QStringLiteral("INSERT INTO [E1] ([ID],[KEN],[AKT]) VALUES (9,'Rest',0)"));
    main->MarkChanged();
    ReplacementLock other(projectDb());
    ASSERT_TRUE(other.TryLock());
    QTimer::singleShot(100, [] { std::raise(SIGTERM); });

    main->mnuSPEICHERN_Click();

    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(RestRows(projectDb()), 0);
    EXPECT_TRUE(UnloadedWithin(UnloadPatienceMs));
    EXPECT_EQ(RestRows(workingCopy()), 1);
}
