#include "LateReport.h"
#include "SessionEnd.h"
#include <QCoreApplication>
#include <QTimer>
#include <deque>

namespace {

std::deque<std::function<void()>>& Waiting()
{
    static std::deque<std::function<void()>> waiting;
    return waiting;
}

constexpr int PollMs = 20;
QTimer& Poll();

void TellWaiting()
{
    // A report's box is modal: while it is open the next one waits as well.
    while (!Waiting().empty() && NoCommandRuns()) {
        const std::function<void()> tell = std::move(Waiting().front());
        Waiting().pop_front();
        tell();
    }
    if (Waiting().empty())
        Poll().stop();
    else if (!Poll().isActive())
        Poll().start();
}

QTimer& Poll()
{
    static QTimer* timer = [] {
        auto* t = new QTimer(QCoreApplication::instance());
        t->setInterval(PollMs);
        QObject::connect(t, &QTimer::timeout, t, [] { TellWaiting(); });
        return t;
    }();
    return *timer;
}

} // namespace

void TellWhenNoCommandRuns(std::function<void()> tell)
{
    Waiting().push_back(std::move(tell));
    TellWaiting();
}

int ReportsWaiting()
{
    return int(Waiting().size());
}
