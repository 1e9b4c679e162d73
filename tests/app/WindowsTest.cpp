// The windows in the main window's area as a user meets them: the start window always
// maximised, in front under its bar while a page is built; the input window opened
// maximised and kept in front by Ctrl+Tab, which moves between its tabs; the greyed
// menu items greyed in every state.
#include "AppFixture.h"
#include "input/mdiEINGABE.h"
#include "pages/input/mdiESEITE1.h"
#include "pages/result/mdiSEITE1.h"
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QStyle>
#include <QStyleOptionComplex>
#include <QTest>

namespace {

class Windows : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
        main->SetPagePause(0);
    }
    static QMdiSubWindow* Sub(QWidget* form) { return qobject_cast<QMdiSubWindow*>(form->parentWidget()); }
    // The form the user sees: active, on top, maximised over the whole area.
    void ExpectInFront(QWidget* form, const char* when)
    {
        ASSERT_NE(form, nullptr) << when;
        QMdiSubWindow* sub = Sub(form);
        EXPECT_EQ(main->mdiArea->activeSubWindow(), sub) << when;
        QMdiSubWindow* top = nullptr;   // the last shown one in stacking order
        for (QMdiSubWindow* w : main->mdiArea->subWindowList(QMdiArea::StackingOrder))
            if (w->isVisible())
                top = w;
        EXPECT_EQ(top, sub) << when;
        EXPECT_TRUE(sub->isMaximized()) << when;
        EXPECT_EQ(sub->geometry(), main->mdiArea->viewport()->rect()) << when;
    }
    void Evaluate(const char* command)
    {
        main->mnuAUSWERTEN_Click();
        main->Menu(QLatin1String(command))->trigger();
    }
    // Clicks a button of the maximised window's controls at the right end of the menu bar.
    void ClickWindowControl(QStyle::SubControl button)
    {
        QWidget* controls = main->menuBar()->cornerWidget(Qt::TopRightCorner);
        ASSERT_NE(controls, nullptr);
        ASSERT_TRUE(controls->isVisible());
        QStyleOptionComplex option;
        option.initFrom(controls);
        option.subControls = QStyle::SC_MdiMinButton | QStyle::SC_MdiNormalButton | QStyle::SC_MdiCloseButton;
        const QRect place = controls->style()->subControlRect(QStyle::CC_MdiControls, &option, button, controls);
        QTest::mouseClick(controls, Qt::LeftButton, Qt::NoModifier, place.center());
    }
};

} // namespace

TEST_F(Windows, StartWindowMaximisedAfterPagesAndInputAndTheInputWindowMaximised)
{
    mdiAUTOSTART& start = main->AUTOSTART();
    ExpectInFront(&start, "at start");
    EXPECT_EQ(Sub(&start)->systemMenu(), nullptr);   // nothing offers to restore or minimise it
    Evaluate("mnuEINGABEGRAFIK");
    Evaluate("mnuNEUBERECHNEN");
    ExpectInFront(OpenPage<mdiSEITE1>(), "result page");
    main->stbMAIN_PanelClick(15);
    ExpectInFront(&start, "pages closed");
    main->Menu(QStringLiteral("mnuNEU"))->trigger();
    ExpectInFront(main->EINGABE(), "new record");
    main->stbMAIN_PanelClick(9);
    ExpectInFront(&start, "input discarded");
    main->Menu(QStringLiteral("mnuNEU"))->trigger();
    ExpectInFront(main->EINGABE(), "new record again");
}

TEST_F(Windows, CtrlTabMovesBetweenTheInputTabsAndNeverToAnotherWindow)
{
    main->Menu(QStringLiteral("mnuNEU"))->trigger();
    mdiEINGABE* input = main->EINGABE();
    ASSERT_NE(input, nullptr);
    input->txtKEN->setText(QStringLiteral("Neu"));
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const Qt::KeyboardModifiers back = Qt::ControlModifier | Qt::ShiftModifier;
    struct Case {
        QWidget* focus;   // null: the input window's frame
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int tab;
    };
    const Case cases[] = {
        {input->txtKEN, Qt::Key_Tab, ctrl, 1},
        {input->msgFLX[0], Qt::Key_Tab, ctrl, 2},
        {input->msgFLX[2], Qt::Key_Tab, ctrl, 3},
        {input->msgFLX[5], Qt::Key_Tab, ctrl, 0},      // round the end
        {input->txtZGWLS, Qt::Key_Tab, back, 3},
        {input->msgFLX[4], Qt::Key_Backtab, back, 2},  // Shift+Tab as the keyboard sends it
        {nullptr, Qt::Key_Tab, ctrl, 3},
    };
    for (const Case& c : cases) {
        QWidget* focus = c.focus ? c.focus : Sub(input);
        focus->setFocus();
        QTest::keyClick(focus, c.key, c.modifiers);
        EXPECT_EQ(input->SSTab->currentIndex(), c.tab) << c.tab;
        ExpectInFront(input, "after Ctrl+Tab");
    }
    // The designation is checked when another tab would be shown: refused, nothing moves.
    input->SSTab->setCurrentIndex(0);
    input->txtKEN->clear();
    input->txtKEN->setFocus();
    dialogs->msgAnswers = {MsgResult::OK};
    QTest::keyClick(input->txtKEN, Qt::Key_Tab, ctrl);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].title, QStringLiteral("Datenfehler"));
    EXPECT_EQ(input->SSTab->currentIndex(), 0);
    EXPECT_EQ(QApplication::focusWidget(), input->txtKEN);
    ExpectInFront(input, "after a refused designation");
}

TEST_F(Windows, GreyedItemsStayGreyedInEveryState)
{
    QAction* werkzeuge = main->Menu(QStringLiteral("mnuWERKZEUGE"));
    const auto expectGreyed = [&](const char* state) {
        for (const char* item : {"mnuMBERECHNEN", "mnuFBERECHNEN", "mnuVVORGABEN", "mnuVEVORGABEN", "mnuWERKZEUGE"})
            EXPECT_FALSE(main->Menu(QLatin1String(item))->isEnabled()) << item << " " << state;
        EXPECT_FALSE(werkzeuge->menu()->isEnabled()) << state;
    };
    expectGreyed("idle");
    QObject::connect(main->AUTOSTART().pgbBERECHNEN, &QProgressBar::valueChanged, main.get(),
                     [&] { expectGreyed("building"); });
    Evaluate("mnuEINGABEGRAFIK");
    expectGreyed("page");
    // Its submenu does not open from the tools menu.
    QMenu* extras = main->Menu(QStringLiteral("mnuEXTRAS"))->menu();
    extras->popup(QPoint(0, 0));
    extras->setActiveAction(werkzeuge);
    QTest::keyClick(extras, Qt::Key_Right);
    EXPECT_FALSE(werkzeuge->menu()->isVisible());
    extras->hide();
    main->stbMAIN_PanelClick(15);
    expectGreyed("pages closed");
    main->Menu(QStringLiteral("mnuNEU"))->trigger();
    expectGreyed("input");
    main->stbMAIN_PanelClick(9);
    expectGreyed("input ended");
}

TEST_F(Windows, ThePageBeingBuiltHasTheStartWindowWithItsBarInFront)
{
    Evaluate("mnuNEUBERECHNEN");
    mdiSEITE1* result = OpenPage<mdiSEITE1>();
    ExpectInFront(result, "result page");
    // Every value the load gives the bar is seen: the start window is in front with it.
    mdiAUTOSTART& start = main->AUTOSTART();
    int values = 0;
    QObject::connect(start.pgbBERECHNEN, &QProgressBar::valueChanged, main.get(), [&] {
        ++values;
        if (start.pgbBERECHNEN->isVisible())
            ExpectInFront(&start, "while the page is built");
    });
    Evaluate("mnuEINGABEGRAFIK");
    EXPECT_GT(values, 10);
    ExpectInFront(OpenPage<mdiESEITE1>(), "input-graphic page built");
    EXPECT_EQ(OpenPage<mdiSEITE1>(), result);
    // A recalculation that builds no page leaves the page that was in front.
    main->cnnX()->Execute(QStringLiteral("DELETE FROM E4 WHERE ID = 1 AND K = 2"));
    dialogs->msgAnswers = {MsgResult::OK};
    Evaluate("mnuNEUBERECHNEN");
    ASSERT_EQ(Boxes().size(), 1u);
    ExpectInFront(OpenPage<mdiESEITE1>(), "after the failed recalculation");
    EXPECT_TRUE(start.pgbBERECHNEN->isHidden());
}

// The buttons of a maximised page at the end of the menu bar: restored, the page shows its
// sheet, at the sheet's proportions, over the start window, which shows what it was laid
// out with (it has no title bar to show); minimised, the page leaves the start window as
// it was.
TEST_F(Windows, ARestoredOrMinimisedPageLeavesUsableWindows)
{
    mdiAUTOSTART& start = main->AUTOSTART();
    // The form is shown with the controls it shows (a page: its areas) within it.
    const auto showsAll = [](const QWidget& form, const std::vector<QWidget*>& controls, const char* when) {
        EXPECT_TRUE(form.isVisible()) << when;
        for (const QWidget* control : controls) {
            if (control->isVisibleTo(&form)) {
                EXPECT_TRUE(form.rect().contains(control->geometry()))
                    << control->objectName().toStdString() << ", " << when;
            }
        }
    };
    const std::vector<QWidget*> startControls{start.fraKOPF, start.lblTITEL, start.imgDIA, start.lblVERSION};
    const QRect startPlace = Sub(&start)->geometry();
    // A screen on which the sheet fits at its size.
    main->showNormal();
    main->setGeometry(0, 0, 1600, 1100);
    Evaluate("mnuNEUBERECHNEN");
    mdiSEITE1* page = OpenPage<mdiSEITE1>();
    ExpectInFront(page, "result page");
    QMdiSubWindow* sub = Sub(page);

    ClickWindowControl(QStyle::SC_MdiNormalButton);
    EXPECT_FALSE(sub->isMaximized());
    EXPECT_FALSE(sub->isMinimized());
    EXPECT_EQ(main->mdiArea->activeSubWindow(), sub);
    EXPECT_TRUE(main->mdiArea->viewport()->rect().contains(sub->geometry()));
    EXPECT_NEAR(double(page->width()) / page->height(), 297.0 / 210.0, 0.01);
    const std::vector<PictureBox*> areas = page->PictureBoxes();
    showsAll(*page, {areas.begin(), areas.end()}, "page restored");
    showsAll(start, startControls, "page restored");
    EXPECT_EQ(Sub(&start)->widget()->geometry(), Sub(&start)->rect());   // no title bar

    sub->showMaximized();
    ExpectInFront(page, "maximised again");
    ClickWindowControl(QStyle::SC_MdiMinButton);
    EXPECT_TRUE(sub->isMinimized());
    showsAll(start, startControls, "page minimised");
    EXPECT_EQ(Sub(&start)->geometry().topLeft(), startPlace.topLeft());
}
