#include "SessionEnd.h"
#include <QApplication>
#include <QDialog>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace {

int g_pipe[2] = {-1, -1};
int g_deferrals = 0;
int g_waitingMode = -1;   // the unload asked for from outside, -1 when none waits
constexpr int RetryMs = 20;

std::function<void(int)>& Handler()
{
    static std::function<void(int)> handler;
    return handler;
}

// Only async-signal-safe work here: one byte down the pipe, errno left as found.
// The pipe does not block: when it is full, a request is already waiting.
extern "C" void OnSignal(int sig)
{
    const int savedErrno = errno;
    const char mode = sig == SIGHUP ? char(UnloadMode::SessionEnd) : char(UnloadMode::TaskKill);
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &mode, 1);
    errno = savedErrno;
}

void CloseModalDialogs()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QDialog*>(w) && w->isVisible() && w->isModal())
            w->close();
}

QTimer& Retry();

void TryUnload()
{
    if (g_waitingMode < 0)
        return;
    if (!NoCommandRuns()) {
        CloseModalDialogs();
        if (!Retry().isActive())
            Retry().start();
        return;
    }
    Retry().stop();
    const int mode = std::exchange(g_waitingMode, -1);
    if (Handler())
        Handler()(mode);
}

QTimer& Retry()
{
    static QTimer* timer = [] {
        auto* t = new QTimer(qApp);
        t->setInterval(RetryMs);
        QObject::connect(t, &QTimer::timeout, qApp, [] { TryUnload(); });
        return t;
    }();
    return *timer;
}

void Request(int mode)
{
    if (g_waitingMode < 0)
        g_waitingMode = mode;
    TryUnload();
}

} // namespace

bool NoCommandRuns()
{
    return g_deferrals == 0 && QThread::currentThread()->loopLevel() <= 1 && !QApplication::activeModalWidget();
}

OutsideUnloadDeferral::OutsideUnloadDeferral() { ++g_deferrals; }

OutsideUnloadDeferral::~OutsideUnloadDeferral() { --g_deferrals; }

bool OutsideUnloadRequested()
{
    return g_waitingMode >= 0;
}

void InstallSessionEndHandler(std::function<void(int mode)> handler)
{
    Handler() = std::move(handler);
    g_waitingMode = -1;
    Retry().stop();
    if (g_pipe[0] >= 0)
        return;
    // Close-on-exec: the frame program started later must not inherit the pair.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_pipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
        // Several signals ask for one unload: the first one's mode counts.
        char byte = 0;
        int mode = -1;
        while (::read(g_pipe[0], &byte, 1) == 1)
            if (mode < 0)
                mode = byte;
        if (mode >= 0)
            Request(mode);
    });
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(sig, &sa, nullptr);
#ifndef QT_NO_SESSIONMANAGER
    if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QObject::connect(gui, &QGuiApplication::commitDataRequest, gui,
                         [](QSessionManager&) { Request(UnloadMode::SessionEnd); });
    }
#endif
}
