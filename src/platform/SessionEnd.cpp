#include "SessionEnd.h"
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_pipe[2] = {-1, -1};

std::function<void(int)>& Handler()
{
    static std::function<void(int)> handler;
    return handler;
}

// Only async-signal-safe work here: one byte down the pipe.
extern "C" void OnSignal(int sig)
{
    const char mode = sig == SIGHUP ? char(UnloadMode::SessionEnd) : char(UnloadMode::TaskKill);
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &mode, 1);
}

void Dispatch(int mode)
{
    if (Handler())
        Handler()(mode);
}

} // namespace

void InstallSessionEndHandler(std::function<void(int mode)> handler)
{
    Handler() = std::move(handler);
    if (g_pipe[0] >= 0)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_pipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
        char mode = 0;
        if (::read(g_pipe[0], &mode, 1) == 1)
            Dispatch(mode);
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
                         [](QSessionManager&) { Dispatch(UnloadMode::SessionEnd); });
    }
#endif
}
