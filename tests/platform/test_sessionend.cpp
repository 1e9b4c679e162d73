// Ends asked for from outside: the signal pipe, the wait for running work, and the
// yield that holds back user input.
#include "platform/DialogService.h"
#include "platform/SessionEnd.h"
#include "platform/Yield.h"
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>
#include <qpa/qwindowsysteminterface.h>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <vector>

namespace {

class SessionEndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InstallSessionEndHandler([this](int mode) { modes.push_back(mode); });
    }
    void TearDown() override { InstallSessionEndHandler(nullptr); }
    // Runs the event loop for a while, long enough for a waiting unload to be tried.
    void RunEvents()
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 200)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    std::vector<int> modes;
};

TEST_F(SessionEndTest, TheHandlerKeepsErrnoAndThePipeStaysInThisProcess)
{
    // Far more signals than the pipe holds: the handler never blocks, and a write
    // that fails on the full pipe leaves errno as the interrupted code had it.
    for (int i = 0; i < 2000; ++i) {
        errno = EDOM;
        std::raise(i % 2 ? SIGTERM : SIGHUP);
        ASSERT_EQ(errno, EDOM) << "after signal " << i;
    }
    RunEvents();
    EXPECT_EQ(modes, std::vector<int>{UnloadMode::SessionEnd});   // one unload, of the first signal

    // No socket of this process may leak into a program it starts.
    int sockets = 0;
    for (const QString& fd : QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System)) {
        struct stat st {};
        const int n = fd.toInt();
        if (fstat(n, &st) == 0 && S_ISSOCK(st.st_mode)) {
            ++sockets;
            EXPECT_TRUE(fcntl(n, F_GETFD) & FD_CLOEXEC) << "descriptor " << n;
        }
    }
    EXPECT_GE(sockets, 2);
}

TEST_F(SessionEndTest, AnUnloadWaitsForTheRunningWorkAndClosesItsDialogs)
{
    QtDialogService dialogs;
    bool boxOpen = false;
    QTimer::singleShot(0, [&] {
        boxOpen = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr;
        std::raise(SIGTERM);
    });
    MsgResult answer = MsgResult::Yes;
    {
        const OutsideUnloadDeferral command;
        // The box is closed unanswered: No, the answer of a closed question.
        answer = dialogs.MsgBox(QStringLiteral("?"), MsgButtons::YesNo, MsgIcon::Question, QStringLiteral("T"));
        EXPECT_TRUE(OutsideUnloadRequested());
        RunEvents();
        EXPECT_TRUE(modes.empty());   // the command still runs
    }
    EXPECT_TRUE(boxOpen);
    EXPECT_EQ(answer, MsgResult::No);
    RunEvents();
    EXPECT_EQ(modes, std::vector<int>{UnloadMode::TaskKill});
    EXPECT_FALSE(OutsideUnloadRequested());
}

TEST(Yield, DoEventsHoldsBackUserInputUntilTheEventLoopRuns)
{
    QPushButton button(QStringLiteral("OK"));
    button.resize(80, 30);
    button.show();
    QCoreApplication::processEvents();
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] { ++clicks; });
    QWindow* window = button.windowHandle();
    ASSERT_NE(window, nullptr);
    // A click as the window system queues it.
    const QPointF at(10, 10);
    using Queued = QWindowSystemInterface::AsynchronousDelivery;
    QWindowSystemInterface::handleMouseEvent<Queued>(window, at, window->mapToGlobal(at), Qt::LeftButton,
                                                     Qt::LeftButton, QEvent::MouseButtonPress);
    QWindowSystemInterface::handleMouseEvent<Queued>(window, at, window->mapToGlobal(at), Qt::NoButton,
                                                     Qt::LeftButton, QEvent::MouseButtonRelease);
    bool repainted = false;
    QTimer::singleShot(0, [&] { repainted = true; });

    // The yields of a command, for longer than they take to poll the message loop.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20)
        DoEvents();
    EXPECT_TRUE(repainted);
    EXPECT_EQ(clicks, 0);

    // The event loop hands the queued input on when the command has returned.
    QWindowSystemInterface::sendWindowSystemEvents(QEventLoop::AllEvents);
    EXPECT_EQ(clicks, 1);
}

} // namespace
