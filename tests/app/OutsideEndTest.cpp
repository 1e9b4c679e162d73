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
#include <QRandomGenerator>
#include <QTimer>
#include <csignal>
#include <functional>
#include <optional>
#include <sys/stat.h>

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

// A presets database that is there but cannot be opened ends the start with one box
// that names it and says what is wrong; nothing follows it, an end from outside
// meanwhile included.
TEST_F(OutsideEndTest, APresetsDatabaseThatCannotBeOpenedEndsTheStartWithOneBox)
{
    const QString presets = suite->datenFolder() + QStringLiteral("/VORGABE.mdb");
    const struct {
        const char* name;
        std::function<void()> spoil;
        QString cause;
    } cases[] = {
        {"random bytes",
         [&] {
             QByteArray bytes(5000, '\0');
             QRandomGenerator random(5000);
             for (char& b : bytes)
                 b = char(random.bounded(256));
             QFile f(presets);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
             f.write(bytes);
         },
         QStringLiteral("'") + presets + QStringLiteral("': Die Datei ist keine gültige Datenbank.")},
        {"a named pipe",
         [&] {
             ASSERT_TRUE(QFile::remove(presets));
             ASSERT_EQ(::mkfifo(QFile::encodeName(presets).constData(), 0644), 0);
         },
         presets + QStringLiteral(": Sie ist keine gewöhnliche Datei, sondern eine benannte Pipe.")},
    };
    dialogs->onShow = [this](const ScriptedDialogService::Shown&) { SignalWhileShown(); };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.spoil();
        dialogs->shown.clear();

        EXPECT_EQ(Start(), frmMAIN::StartResult::Ended);
        UnloadedWithin(300);
        main->Unload(UnloadMode::TaskKill);   // a signal that comes later still

        const auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text.toStdString(),
                  (QStringLiteral("Die Vorgabedatenbank kann nicht geöffnet werden:\r\n") + c.cause).toStdString());
        EXPECT_EQ(boxes[0].title, QStringLiteral("TREMOL"));
        EXPECT_EQ(boxes[0].icon, MsgIcon::Exclamation);
        EXPECT_EQ(boxes[0].buttons, MsgButtons::OK);
        EXPECT_EQ(Prog(), QStringLiteral("KALMARO"));
        EXPECT_FALSE(FileExists(workingCopy()));
    }
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
    std::optional<ReplacementLock> other(std::in_place, projectDb());
    ASSERT_TRUE(other->TryLock());
    const ScopedSingleShot end(100, [] { std::raise(SIGTERM); });

    WithDeadline("The save waiting for another one", [&] { main->mnuSPEICHERN_Click(); }, [&] { other.reset(); });

    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(RestRows(projectDb()), 0);
    EXPECT_TRUE(UnloadedWithin(UnloadPatienceMs));
    EXPECT_EQ(RestRows(workingCopy()), 1);
}
