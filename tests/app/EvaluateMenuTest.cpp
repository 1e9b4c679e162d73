// The evaluate menu: which commands it offers, the result row it keeps, and the result
// page it builds from stored or recalculated results under the start window's bar.
#include "AppFixture.h"
#include "pages/result/mdiSEITE1.h"
#include "platform/Yield.h"
#include <QElapsedTimer>
#include <QPointer>
#include <QMenu>

namespace {

class EvaluateMenu : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
        main->SetPagePause(0);
    }
    Variant Scalar(const QString& sql) { return ScalarOf(main->cnnX(), sql); }
    void Exec(const QString& sql) { main->cnnX()->Execute(sql); }
    bool Enabled(const char* item) { return main->Menu(QLatin1String(item))->isEnabled(); }
    void Open() { main->mnuAUSWERTEN_Click(); }
    mdiSEITE1* ResultPage() { return OpenPage<mdiSEITE1>(); }
    // The page state and the bar as a page command leaves them.
    void ExpectPageState()
    {
        for (int n : {10, 11, 12, 13, 15}) {
            EXPECT_TRUE(main->stbMAIN->Panels(n).Visible()) << n;
            EXPECT_EQ(main->stbMAIN->Panels(n).Bevel(), PanelBevel::Raised) << n;
        }
        EXPECT_FALSE(main->stbMAIN->Panels(14).Visible());
        EXPECT_FALSE(Enabled("mnuDATEI"));
        EXPECT_TRUE(main->Changed());
        EXPECT_TRUE(main->isEnabled());
        EXPECT_TRUE(main->AUTOSTART().pgbBERECHNEN->isHidden());
        EXPECT_EQ(main->AUTOSTART().pgbBERECHNEN->value(), 0);
        EXPECT_EQ(MousePointer(), 0);
    }
};

} // namespace

TEST_F(EvaluateMenu, OpeningOffersTheCommandsForExactlyOneActiveRecord)
{
    struct Case { const char* active; bool offered; };
    for (const Case& c : {Case{"", false}, Case{"1, 2", false}, Case{"1", true}}) {
        Exec(QStringLiteral("UPDATE E1 SET AKT = (ID IN (%1))").arg(QLatin1String(c.active)));
        Exec(QStringLiteral("DELETE FROM A1"));
        main->Menu(QStringLiteral("mnuAUSWERTEN"))->menu()->aboutToShow();
        EXPECT_EQ(Enabled("mnuNEUBERECHNEN"), c.offered) << c.active;
        EXPECT_EQ(Enabled("mnuEINGABEGRAFIK"), c.offered) << c.active;
        // Without results the page from stored results is not offered.
        EXPECT_FALSE(Enabled("mnuBERECHNEN")) << c.active;
        EXPECT_EQ(CLng(Scalar(QStringLiteral("SELECT COUNT(*) FROM A1"))), c.offered ? 1 : 0) << c.active;
    }
    // The row added says new; opening again adds nothing, and nothing counts as changed.
    EXPECT_EQ(Scalar(QStringLiteral("SELECT BONEU FROM A1 WHERE ID = 1")), Variant(true));
    Open();
    EXPECT_EQ(CLng(Scalar(QStringLiteral("SELECT COUNT(*) FROM A1"))), 1);
    EXPECT_FALSE(main->Changed());
    // Confirmed results can be shown.
    Exec(QStringLiteral("UPDATE A1 SET BONEU = 0"));
    Open();
    EXPECT_TRUE(Enabled("mnuBERECHNEN"));
    EXPECT_TRUE(Enabled("mnuNEUBERECHNEN"));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(EvaluateMenu, RecalculationShowsTheResultPage)
{
    Exec(QStringLiteral("INSERT INTO A1 (ID, BONEU, WHL) VALUES (1, 0, 99)"));
    std::vector<int> bar;
    QObject::connect(main->AUTOSTART().pgbBERECHNEN, &QProgressBar::valueChanged, [&](int v) { bar.push_back(v); });
    main->SetPagePause(1500);
    QElapsedTimer clock;
    clock.start();
    main->Menu(QStringLiteral("mnuNEUBERECHNEN"))->trigger();
    EXPECT_GE(clock.elapsed(), 1500);
    // The row made anew, its results written, its flag cleared once the page was shown.
    EXPECT_EQ(CLng(Scalar(QStringLiteral("SELECT COUNT(*) FROM A1 WHERE ID = 1"))), 1);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT BONEU FROM A1 WHERE ID = 1")), Variant(false));
    EXPECT_NEAR(CSng(Scalar(QStringLiteral("SELECT WVL FROM A1 WHERE ID = 1"))), -73.773598f, 1e-4);
    EXPECT_FLOAT_EQ(CSng(Scalar(QStringLiteral("SELECT WHL FROM A1 WHERE ID = 1"))), 0.0f);
    // The page was built while the flag said new: the layout defaults are written.
    EXPECT_FLOAT_EQ(CSng(Scalar(QStringLiteral("SELECT MSP FROM G0 WHERE ID = 1 AND IDOBJEKT = 11"))), 5.0f);
    mdiSEITE1* page = ResultPage();
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->complete());
    EXPECT_EQ(main->ActiveForm(), page);
    EXPECT_TRUE(page->parentWidget()->isMaximized());
    // The calculation's bar, then the page's, up to 100 and back to 0.
    ASSERT_GE(bar.size(), 3u);
    EXPECT_EQ(std::vector<int>(bar.end() - 3, bar.end()), (std::vector<int>{97, 100, 0}));
    ExpectPageState();
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(EvaluateMenu, StoredResultsAndAnOpenPage)
{
    main->Menu(QStringLiteral("mnuNEUBERECHNEN"))->trigger();
    mdiSEITE1* page = ResultPage();
    ASSERT_NE(page, nullptr);
    // Results changed behind the open page: it is shown as it is, not built again.
    Exec(QStringLiteral("UPDATE A1 SET WVL = -1 WHERE ID = 1"));
    main->Menu(QStringLiteral("mnuBERECHNEN"))->trigger();
    EXPECT_EQ(ResultPage(), page);
    EXPECT_NEAR(page->L.WV, -73.773598f, 1e-4);
    ExpectPageState();
    // Closing takes the page out at once and deletes it once the event is done with.
    const QPointer<mdiSEITE1> closed(page);
    main->stbMAIN_PanelClick(15);
    EXPECT_EQ(ResultPage(), nullptr);
    EXPECT_FALSE(closed.isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());
    // Shown again, it is built from the stored results, the flag already cleared.
    main->Menu(QStringLiteral("mnuBERECHNEN"))->trigger();
    ASSERT_NE(ResultPage(), nullptr);
    EXPECT_EQ(ResultPage()->L.WV, -1.0f);
    ExpectPageState();
}

TEST_F(EvaluateMenu, FailedCalculationLoadsNoPage)
{
    Exec(QStringLiteral("DELETE FROM E4 WHERE ID = 1 AND K = 2"));   // no right flow line
    dialogs->msgAnswers = {MsgResult::OK};
    main->Menu(QStringLiteral("mnuNEUBERECHNEN"))->trigger();
    ASSERT_EQ(Boxes().size(), 1u);   // the calculation's own message
    EXPECT_EQ(ResultPage(), nullptr);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT BONEU FROM A1 WHERE ID = 1")), Variant(true));
    EXPECT_FALSE(main->Changed());
    EXPECT_TRUE(main->isEnabled());
    EXPECT_TRUE(main->AUTOSTART().pgbBERECHNEN->isHidden());
    EXPECT_TRUE(Enabled("mnuDATEI"));
    EXPECT_EQ(MousePointer(), 0);
}

TEST_F(EvaluateMenu, CancelInTheErrorBoxLeavesTheWindowUsable)
{
    Exec(QStringLiteral("UPDATE E1 SET AKT = 0"));   // no record to recalculate
    dialogs->msgAnswers = {MsgResult::Cancel};
    main->Menu(QStringLiteral("mnuNEUBERECHNEN"))->trigger();
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, QStringLiteral("&Neuberechnen"));
    EXPECT_TRUE(boxes[0].text.startsWith(QStringLiteral("VB-Error: ")));
    EXPECT_TRUE(main->isEnabled());
    EXPECT_TRUE(main->AUTOSTART().pgbBERECHNEN->isHidden());
    EXPECT_EQ(MousePointer(), 0);
    EXPECT_EQ(ResultPage(), nullptr);
}
