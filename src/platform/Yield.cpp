#include "Yield.h"

#include "SessionEnd.h"
#include "VbError.h"

#include <QCoreApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>

namespace {
std::function<void()>& doEventsHook()
{
    static std::function<void()> hook;
    return hook;
}

int& currentPointer()
{
    static int pointer = 0;
    return pointer;
}

// The message loop is polled at most this often by the yields of a command: a poll
// costs far more than the work between most yields (a written row), and windows that
// repaint every few milliseconds look no different.
constexpr qint64 PollIntervalNs = 4'000'000;

QElapsedTimer& sinceLastPoll()
{
    static QElapsedTimer clock;
    return clock;
}

// Windows repaint, but user input waits, and so does an unload asked for from
// outside: the command that yields is still running.
void processPending()
{
    const OutsideUnloadDeferral commandRunning;
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    sinceLastPoll().start();
}
}

void DoEvents()
{
    if (doEventsHook())
        doEventsHook()();
    const QElapsedTimer& clock = sinceLastPoll();
    if (clock.isValid() && clock.nsecsElapsed() < PollIntervalNs)
        return;
    processPending();
}

void Sleep(int milliseconds)
{
    processPending();
    if (milliseconds > 0)
        QThread::msleep(static_cast<unsigned long>(milliseconds));
}

void SetDoEventsHook(std::function<void()> hook)
{
    doEventsHook() = std::move(hook);
}

Qt::CursorShape MousePointerShape(int pointer)
{
    switch (pointer) {
    case 0:
    case 1:
    case 4:
        return Qt::ArrowCursor;
    case 2:
        return Qt::CrossCursor;
    case 3:
        return Qt::IBeamCursor;
    case 5:
    case 15:
        return Qt::SizeAllCursor;
    case 6:
        return Qt::SizeBDiagCursor;
    case 7:
        return Qt::SizeVerCursor;
    case 8:
        return Qt::SizeFDiagCursor;
    case 9:
        return Qt::SizeHorCursor;
    case 10:
        return Qt::UpArrowCursor;
    case 11:
        return Qt::WaitCursor;
    case 12:
        return Qt::ForbiddenCursor;
    case 13:
        return Qt::BusyCursor;
    case 14:
        return Qt::WhatsThisCursor;
    default:
        throw VbError(VbErr::InvalidProperty);
    }
}

void SetMousePointer(int pointer)
{
    const Qt::CursorShape shape = MousePointerShape(pointer);
    currentPointer() = pointer;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    // One override at most: the screen has one pointer, however often it is set.
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
    if (pointer != 0)
        QGuiApplication::setOverrideCursor(QCursor(shape));
}

int MousePointer()
{
    return currentPointer();
}
