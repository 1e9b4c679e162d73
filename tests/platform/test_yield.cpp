#include "platform/DialogService.h"
#include "platform/VbError.h"
#include "platform/Yield.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
Qt::CursorShape overrideShape()
{
    const QCursor* c = QGuiApplication::overrideCursor();
    return c ? c->shape() : Qt::BitmapCursor;   // BitmapCursor: no override at all
}

class MousePointerTest : public ::testing::Test {
protected:
    void TearDown() override { SetMousePointer(0); }
};

TEST_F(MousePointerTest, HourglassArrowAndDefault)
{
    SetMousePointer(11);
    SetMousePointer(11);
    EXPECT_EQ(MousePointer(), 11);
    EXPECT_EQ(overrideShape(), Qt::WaitCursor);
    SetMousePointer(0);   // however often the hourglass was set, 0 removes it
    EXPECT_EQ(MousePointer(), 0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    SetMousePointer(1);
    EXPECT_EQ(MousePointer(), 1);
    EXPECT_EQ(overrideShape(), Qt::ArrowCursor);
    SetMousePointer(11);
    EXPECT_EQ(overrideShape(), Qt::WaitCursor);
    SetMousePointer(0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(MousePointerTest, ShapesOfPointerValues)
{
    EXPECT_EQ(MousePointerShape(0), Qt::ArrowCursor);
    EXPECT_EQ(MousePointerShape(2), Qt::CrossCursor);
    EXPECT_EQ(MousePointerShape(11), Qt::WaitCursor);
    EXPECT_THROW(MousePointerShape(99), VbError);
    EXPECT_THROW(SetMousePointer(-1), VbError);
    EXPECT_EQ(MousePointer(), 0);   // a refused value changes nothing
}

TEST_F(MousePointerTest, AMessageBoxShowsTheArrowAndTheHourglassReturns)
{
    SetMousePointer(11);
    bool noOverrideWhileOpen = false;
    QTimer::singleShot(0, [&] {
        noOverrideWhileOpen = QGuiApplication::overrideCursor() == nullptr;
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Ok)->click();
    });
    QtDialogService dialogs;
    EXPECT_EQ(dialogs.MsgBox(QStringLiteral("x"), MsgButtons::OK, MsgIcon::None, QStringLiteral("t")), MsgResult::OK);
    EXPECT_TRUE(noOverrideWhileOpen);
    EXPECT_EQ(MousePointer(), 11);
    EXPECT_EQ(overrideShape(), Qt::WaitCursor);
}

TEST(Yield, AYieldAfterAPauseRunsPendingWorkAndEveryYieldTheHook)
{
    int hooks = 0;
    SetDoEventsHook([&] { ++hooks; });
    QThread::msleep(10);
    bool timerRan = false;
    QTimer::singleShot(0, [&] { timerRan = true; });
    DoEvents();
    EXPECT_TRUE(timerRan);
    DoEvents();
    SetDoEventsHook(nullptr);
    DoEvents();
    EXPECT_EQ(hooks, 2);
}

// A command that yields after every one of thousands of rows: the message loop is polled
// at most every few milliseconds, and work that waits there still runs within them.
TEST(Yield, YieldsInQuickSuccessionPollTheMessageLoopEveryFewMilliseconds)
{
    int polls = 0;   // a zero timer fires once at every poll of the message loop
    QTimer ticker;
    ticker.setInterval(0);
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++polls; });
    ticker.start();
    bool pendingRan = false;
    QTimer::singleShot(0, [&] { pendingRan = true; });
    QElapsedTimer clock;
    clock.start();
    int yields = 0;
    while (yields < 20000 || clock.elapsed() < 50) {
        DoEvents();
        ++yields;
    }
    const qint64 ms = clock.elapsed();
    ticker.stop();
    EXPECT_TRUE(pendingRan);
    EXPECT_GE(polls, 2);
    EXPECT_LE(polls, ms / 2 + 2) << yields << " yields in " << ms << " ms";
}

TEST(Yield, SleepBlocksForItsPause)
{
    QElapsedTimer t;
    t.start();
    Sleep(50);
    EXPECT_GE(t.elapsed(), 45);
}
}
