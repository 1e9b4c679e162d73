// Axis range and tick selection, the scales, and SKALEN with the layout rows of G0.
#include "support/TestHelpers.h"
#include "DrawFixture.h"
#include "SectionAxes.h"
#include "draw/AxisScale.h"
#include "platform/Locale.h"
#include "platform/ScrollBarControl.h"
#include "platform/VbError.h"
#include <cmath>
#include <functional>

namespace {

AxisTables tables(std::vector<float> bounds, std::vector<float> ranges, std::vector<float> it,
                  std::vector<float> git, std::vector<float> zl)
{
    return {bounds, ranges, it, git, zl};
}

void expectTicks(const std::vector<float>& T, const std::vector<double>& expected, const char* what)
{
    ASSERT_GE(T.size(), expected.size()) << what;
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(T[i], expected[i], 1e-5) << what << " tick " << i;
}

} // namespace

TEST(AxisScale, LinearFitting)
{
    struct Case {
        const char* name;
        int NR;
        std::vector<float> data;
        float min, max;   // in: the row's bounds
        float wantMin, wantMax;
        int16_t N, G, Z;
    };
    const AxisTables small = tables(seq(0, 10, 1), {1, 2, 5, 10}, {2, 4, 5, 10}, {0, 1, 1, 2}, {1, 2, 5, 5});
    const AxisTables section = sectionTables();
    const Case cases[] = {
        {"data 2..3, draw", -1, {2.2f, 2.9f}, 0, 0, 2, 3, 2, 0, 1},
        {"data 0.3..7.2, draw", -1, {0.3f, 7.2f}, 0, 0, 0, 10, 10, 2, 5},
        {"data 0.3..7.2, fit only", 1, {0.3f, 7.2f}, 0, 0, 0, 8, 10, 2, 5},
        {"single value", -1, {4.5f}, 0, 0, 4, 5, 2, 0, 1},
        {"range above the last", -1, {-3, 30}, 0, 0, 0, 10, 10, 2, 5},
        {"NR 2 widens the row's bounds", 2, {3, 4}, 1, 6, 1, 6, 5, 1, 5},
        {"section -23.4..21.3", -1, {-23.4f, 21.3f}, 0, 0, -30, 30, 12, 1, 3},
        {"section -100..150", -1, {-100, 150}, 0, 0, -100, 100, 10, 1, 2},
        {"section -7.5..7.5", 3, {-7.5f, 7.5f}, -4, 4, -8, 8, 8, 1, 4},
    };
    for (const Case& c : cases) {
        const AxisTables& t = std::string(c.name).rfind("section", 0) == 0 ? section : small;
        float MIN = c.min, MAX = c.max;
        AxisTicks ticks;
        SKALENTEILUNG(c.NR, true, true, 0, c.data, MIN, MAX, ticks, t);
        EXPECT_FLOAT_EQ(MIN, c.wantMin) << c.name;
        EXPECT_FLOAT_EQ(MAX, c.wantMax) << c.name;
        EXPECT_EQ(ticks.N, c.N) << c.name;
        EXPECT_EQ(ticks.G, c.G) << c.name;
        EXPECT_EQ(ticks.Z, c.Z) << c.name;
        EXPECT_EQ(ticks.T.size(), std::size_t(c.N + 2)) << c.name;
    }
    float MIN = 0, MAX = 0;
    AxisTicks ticks;
    SKALENTEILUNG(-1, true, true, 0, {2.2f, 2.9f}, MIN, MAX, ticks,
                  tables(seq(0, 4, 1), {1, 2, 5}, {2, 4, 5}, {0, 0, 0}, {0, 0, 0}));
    expectTicks(ticks.T, {2, 2.5, 3, 0}, "2..3");
    // Fixed bounds are snapped too: MAX = MIN + the matched range.
    MIN = 1;
    MAX = 4.5f;
    SKALENTEILUNG(3, false, false, 0, {0}, MIN, MAX, ticks, small);
    EXPECT_FLOAT_EQ(MIN, 1);
    EXPECT_FLOAT_EQ(MAX, 6);
}

TEST(AxisScale, FittingErrors)
{
    const AxisTables t = tables(seq(0, 10, 1), {1, 2}, {0, 2}, {0, 0}, {0, 0});
    struct Case { const char* name; int NR; std::vector<float> data; AxisTables tab; int error; };
    const Case cases[] = {
        {"no data for an automatic bound", 1, {}, t, VbErr::Subscript},
        {"no interval", -1, {0.5f}, t, VbErr::DivisionByZero},
        {"short count table", -1, {0.5f, 2}, tables(seq(0, 10, 1), {1, 2}, {1}, {0}, {0}), VbErr::Subscript},
        {"no range table", -1, {0.5f}, AxisTables{seq(0, 10, 1), std::nullopt, {{1}}, {{0}}, {{0}}}, VbErr::TypeMismatch},
    };
    for (const Case& c : cases) {
        float MIN = 0, MAX = 0;
        AxisTicks ticks;
        EXPECT_EQ(VbErrorOf([&] { SKALENTEILUNG(c.NR, true, true, 0, c.data, MIN, MAX, ticks, c.tab); }), c.error)
            << c.name;
    }
}

TEST(AxisScale, LogarithmicTicks)
{
    const std::vector<float> bounds{0.5f, 1, 2, 100, 300, 1000};
    {
        float MIN = 0.5f, MAX = 100;
        AxisTicks t;
        SKALENTEILUNG(0, false, false, 1, {0}, MIN, MAX, t, tables(bounds, {1}, {1}, {1}, {1}));
        EXPECT_EQ(t.N, 4);
        expectTicks(t.T, {std::log10(0.5), 0, 1, 2, 2}, "decades");
        EXPECT_EQ(t.NM, 4);   // grid count = interval count: grid on every tick
        EXPECT_EQ(t.P.size(), 5u);
    }
    {
        float MIN = 2, MAX = 300;
        AxisTicks t;
        SKALENTEILUNG(0, false, false, 1, {0}, MIN, MAX, t, tables(bounds, {1}, {10}, {1}, {1}));
        EXPECT_EQ(t.N, 20);
        ASSERT_EQ(t.T.size(), 22u);
        std::vector<double> want{std::log10(2.0)};
        for (int m = 3; m <= 9; ++m) want.push_back(std::log10(double(m)));
        want.push_back(1);
        for (int m = 1; m <= 9; ++m) want.push_back(1 + std::log10(double(m)));
        want.push_back(2);
        want.push_back(2 + std::log10(2.0));
        want.push_back(std::log10(300.0));
        expectTicks(t.T, want, "multiples");
        // Grid count 1 with ten intervals: grid on the decades.
        EXPECT_EQ(t.NM, 3);
        expectTicks(t.P, {std::log10(2.0), 1, 2, std::log10(300.0)}, "decade grid");
    }
}

TEST(AxisScale, Scales)
{
    float MX = 0, MY = 0;
    MASSSTAEBE(0, 20, -10, 0, 200, 100, 10, 10, 10, 10, 1, MX, MY);
    EXPECT_FLOAT_EQ(MX, 0.125f);
    EXPECT_FLOAT_EQ(MY, 0.125f);
    // The coupling compares MX * MYMX with MY, so that both ranges fit.
    struct Case { float MYMX, MX, MY, wantMX, wantMY; };
    for (const Case& c : {Case{2, 0.1f, 0.15f, 0.1f, 0.2f}, Case{2, 0.1f, 0.3f, 0.15f, 0.3f},
                          Case{0, 0.1f, 0.3f, 0.1f, 0.3f}, Case{1, 0.2f, 0.1f, 0.2f, 0.2f}}) {
        float mx = c.MX, my = c.MY;
        MASSSTAEBE(0, 1, 0, 1, 100, 100, 0, 0, 0, 0, c.MYMX, mx, my);
        EXPECT_FLOAT_EQ(mx, c.wantMX) << c.MYMX << " " << c.MX << " " << c.MY;
        EXPECT_FLOAT_EQ(my, c.wantMY) << c.MYMX << " " << c.MX << " " << c.MY;
    }
    MX = MY = 0;
    EXPECT_THROW(MASSSTAEBE(0, 1, 0, 1, 20, 100, 10, 10, 0, 0, 1, MX, MY), VbError);
}

namespace {

class SectionDiagram : public DrawTest {
protected:
    void SetUp() override
    {
        activeRecord(1);
        row(1, 11, "OX, OY, RL, RR, RO, RU, MYMX, MX, MY, XMIN, XMAX, YMIN, YMAX",
            "1, -1, 11, 7, 7, 11, 1, 0, 0, -4, 4, 0, 14");
    }
    std::unique_ptr<clsGRAFIK> section()
    {
        auto g = diagram();
        SetSectionAxes(*g);
        return g;
    }
    float column(const char* name)
    {
        return CSng(project.scalar(QStringLiteral("SELECT %1 FROM G0 WHERE ID = 1 AND IDOBJEKT = 11").arg(name)));
    }
};

} // namespace

TEST_F(SectionDiagram, WorkedExampleFrame)
{
    auto g = section();
    {
        const LocaleScope english(English());
        g->SKALEN(3, std::vector<float>{-7.5f, 7.5f}, std::vector<float>{0, 14});
    }
    EXPECT_TRUE(boxes().empty());
    // Fitted bounds and the coupled scales are written back.
    EXPECT_FLOAT_EQ(column("XMIN"), -8);
    EXPECT_FLOAT_EQ(column("XMAX"), 8);
    EXPECT_FLOAT_EQ(column("YMIN"), 0);
    EXPECT_FLOAT_EQ(column("YMAX"), 14);
    EXPECT_NEAR(column("MX"), 0.1509434, 1e-6);
    EXPECT_NEAR(column("MY"), 0.1509434, 1e-6);
    EXPECT_EQ(g->xCounts().N, 8);
    EXPECT_EQ(g->xCounts().Z, 4);
    EXPECT_EQ(g->yCounts().N, 7);
    float xp = 0, yp = 0;
    g->KOORDTRANS(8, 14, xp, yp);
    EXPECT_NEAR(xp, 117, 1e-3);
    EXPECT_NEAR(yp, 99.75, 1e-3);
    // x labels along the bottom, top-aligned 2 mm below the axis.
    std::vector<QString> xLabels;
    for (const Recorded& t : texts()) {
        if (std::abs(t.p1.y() - 101.75) < 1e-3)
            xLabels.push_back(t.text);
    }
    EXPECT_EQ(xLabels, (std::vector<QString>{"-8.0", "-4.0", "0.0", "4.0", "8.0"}));
    const auto xs = texts();
    ASSERT_FALSE(xs.empty());
    EXPECT_TRUE(std::any_of(xs.begin(), xs.end(), [](const Recorded& t) {
        return t.text == "x [m]" && std::abs(t.p1.y() - 105.75) < 1e-3;
    }));
    // z labels and title at x 9, turned by 90 degrees.
    std::vector<QString> zLabels;
    for (const Recorded& t : surface.of(Recorded::RotatedText))
        zLabels.push_back(t.text);
    EXPECT_EQ(zLabels, (std::vector<QString>{"0.0", "14.0", "z [m]"}));
    // Grid lines only at the bounds: they close the frame.
    const auto l = lines();
    const auto has = [&](QPointF a, QPointF b) {
        return std::any_of(l.begin(), l.end(), [&](const Recorded& r) { return sameSegment(r, a, b, 2e-3); });
    };
    EXPECT_TRUE(has({11, 7}, {11, 99.75}));
    EXPECT_TRUE(has({117, 7}, {117, 99.75}));
    EXPECT_TRUE(has({11, 7}, {117, 7}));
    EXPECT_TRUE(has({11, 99.75}, {117, 99.75}));
    EXPECT_FALSE(has({64, 7}, {64, 99.75}));   // no grid line at x = 0
    EXPECT_TRUE(has({64, 99.75}, {64, 101.25}));   // but a tick mark
}

TEST_F(SectionDiagram, FittingCallsWriteOnlyTheBounds)
{
    auto g = section();
    g->SKALEN(1, std::vector<float>{0.3f, 2.6f}, std::vector<float>{1, 9.5f});
    g->SKALEN(2, std::vector<float>{-3.2f, 0}, std::vector<float>{0, 0});
    EXPECT_FLOAT_EQ(column("XMIN"), -4);
    EXPECT_FLOAT_EQ(column("XMAX"), 3);
    EXPECT_FLOAT_EQ(column("YMIN"), 0);
    EXPECT_FLOAT_EQ(column("YMAX"), 10);
    EXPECT_FLOAT_EQ(column("MX"), 0);   // no scales from fitting calls
    EXPECT_TRUE(surface.records.empty());
    EXPECT_FLOAT_EQ(g->PANX(), 0);
}

TEST_F(SectionDiagram, StoredScalesAreKept)
{
    project.exec("UPDATE G0 SET MX = 0.2, MY = 0.3, MYMX = 1");
    auto g = section();
    g->SKALEN(3, std::vector<float>{-7.5f, 7.5f}, std::vector<float>{0, 14});
    EXPECT_FLOAT_EQ(g->layout().MX, 0.2f);
    EXPECT_FLOAT_EQ(g->layout().MY, 0.3f);
    EXPECT_FLOAT_EQ(column("MX"), 0.2f);
}

TEST_F(DrawTest, LegendGridDrawsNothing)
{
    activeRecord(1);
    row(1, 17, "OX, OY, RL, RR, RO, RU, MX, MY", "1, -1, 0, 0, 0, 0, 1, 1");
    auto g = diagram();
    g->EIDOBJEKT(17);
    g->EXDL(13);
    g->EYDO(30);
    loadLayout(*g);
    EXPECT_TRUE(surface.records.empty());
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(project.scalar("SELECT COUNT(*) FROM G0").asLong() + 0, 1);
    EXPECT_TRUE(project.scalar("SELECT XMAX FROM G0").isNull());   // nothing written
    float xp = 0, yp = 0;
    g->KOORDTRANS(61, 4, xp, yp);
    EXPECT_FLOAT_EQ(xp, 13 + 61);
    EXPECT_FLOAT_EQ(yp, 30 + 4);
    g->TEXT(61, 4, QStringLiteral("Legende"), 1);
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_TRUE(near(texts()[0].p1, {74, 34}));
}

TEST_F(DrawTest, OffsetNotesKeepTheFontSet)
{
    activeRecord(1);
    row(1, 11, "OX, OY, RL, RR, RO, RU, MX, MY", "1, 1, 0, 0, 0, 0, 1, 1");
    const LocaleScope german(German());
    auto g = diagram();
    g->SCHRIFTEINSTELLUNGEN("Arial", 10);
    g->EAXEX(0);
    g->EAXEY(0);
    g->EXMOD(2.5f);
    g->SKALEN(0);
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_EQ(texts()[0].text, "x = x' + 2,50");
    EXPECT_FLOAT_EQ(texts()[0].font.Size, 7.0f);
    // Right-aligned 0.5 mm left of the right edge, its bottom on the bottom edge.
    const double w = 13 * 0.5 * 7 / 8, h = RecordingSurface::kCellHeightMm * 7 / 8;
    EXPECT_TRUE(near(texts()[0].p1, {124 - 0.5 - w, 115 - h}));
    surface.records.clear();
    g->EYMOD(1);
    g->SKALEN(0);
    ASSERT_EQ(texts().size(), 2u);
    EXPECT_EQ(texts()[0].text, "y = y' + 1,00");
    EXPECT_NEAR(texts()[0].p1.y(), 115 - 0.5 - h, 1e-4);
    EXPECT_NEAR(texts()[1].p1.y(), 115 - 3.5 - h, 1e-4);
    // The font set comes back exactly, index sizes included.
    EXPECT_FLOAT_EQ(surface.FontSize(), 10.0f);
    EXPECT_FLOAT_EQ(g->fontSet()[4].Size, 9.0f);
    EXPECT_FLOAT_EQ(g->fontSet()[5].Size, 9.0f);
    surface.records.clear();
    g->TEXT(20, 20, QStringLiteral("w{t,1}h"));
    ASSERT_EQ(texts().size(), 2u);
    EXPECT_FLOAT_EQ(texts()[1].font.Size, 9.0f);
}

TEST_F(SectionDiagram, FailedReadEndsTheCall)
{
    project.exec("ALTER TABLE G0 RENAME COLUMN RU TO RU_OLD");
    auto g = section();
    project.dialogs().msgAnswers = {MsgResult::OK, MsgResult::OK};
    g->SKALEN(3, std::vector<float>{-7.5f, 7.5f}, std::vector<float>{0, 14});
    const auto b = boxes();
    ASSERT_EQ(b.size(), 2u);
    EXPECT_EQ(b[0].title, "Datenfehler");
    EXPECT_EQ(b[1].title, "Skalen");
    EXPECT_EQ(b[1].text, "VB-Fehler:0\n");
    EXPECT_TRUE(surface.records.empty());
}

TEST_F(SectionDiagram, RuntimeErrorsShowTheScalesBox)
{
    struct Case {
        const char* name;
        const char* error;
        std::function<void(clsGRAFIK&)> setUp;
    } cases[] = {
        {"a range without intervals", "VB-Fehler:11\n", [](clsGRAFIK& g) { g.ELXIT(std::vector<float>{0}); }},
        // MAX - MIN beyond the Single range, not an infinite range clamped to the table.
        {"fixed bounds whose range overflows", "VB-Fehler:6\n",
         [this](clsGRAFIK& g) {
             project.exec("UPDATE G0 SET XMIN = -3e38, XMAX = 3e38");
             g.EBOXMIN(false);
             g.EBOXMAX(false);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto g = section();
        c.setUp(*g);
        project.dialogs().msgAnswers = {MsgResult::Cancel};
        g->SKALEN(-1, std::vector<float>{0.2f, 0.4f}, std::vector<float>{0, 14});
        const auto b = boxes();
        project.dialogs().shown.clear();
        ASSERT_EQ(b.size(), 1u);
        EXPECT_EQ(b[0].title, "Skalen");
        EXPECT_TRUE(b[0].text.startsWith(c.error)) << b[0].text.toStdString();
        EXPECT_TRUE(surface.records.empty());
    }
}

namespace {

class FakeBar : public ScrollBarControl {
public:
    int value = 0, large = 0, small = 0, min = -1, max = -1;
    bool visible = true;
    double left = -1, top = -1, width = -1, height = -1;
    int Value() const override { return value; }
    void setValue(int v) override { value = v; }
    bool Visible() const override { return visible; }
    void setVisible(bool v) override { visible = v; }
    void setGeometry(double l, double t, double w, double h) override { left = l; top = t; width = w; height = h; }
    int Min() const override { return min; }
    void setMin(int v) override { min = v; }
    int Max() const override { return max; }
    void setMax(int v) override { max = v; }
    double Height() const override { return height; }
    int LargeChange() const override { return large; }
    void setLargeChange(int v) override { large = v; }
    void setSmallChange(int v) override { small = v; }
};

} // namespace

TEST_F(DrawTest, ScrollBarsPanTheDrawing)
{
    activeRecord(1);
    // 200 world units at 1 per mm in a box of 124 mm less 10 + 10 margins.
    row(1, 11, "OX, OY, RL, RR, RO, RU, XMIN, XMAX, YMIN, YMAX, MX, MY",
        "1, -1, 10, 10, 0, 0, 0, 200, 0, 50, 1, 1");
    auto g = diagram();
    g->ELXDIFF(std::vector<float>{200});
    FakeBar bar;
    bar.value = 5000;
    g->EXBALKEN(&bar);
    g->SKALEN(0);
    const double available = 124 * 1.01 - 20, needed = 200;
    EXPECT_TRUE(bar.visible);
    EXPECT_EQ(bar.max, 10000);
    EXPECT_EQ(bar.large, int(std::nearbyint((1 - (needed - available) / needed) * 10000)));
    EXPECT_EQ(bar.small, int(std::nearbyint(bar.large / 50.0)));
    EXPECT_DOUBLE_EQ(bar.top, 115 - 5.0);
    EXPECT_DOUBLE_EQ(bar.width, 124 - 5.0);
    // A fully scrolled drawing ends at the inner box's far edge: the margins count once.
    EXPECT_NEAR(g->PANX(), 0.5 * (available - needed), 1e-3);
    EXPECT_TRUE(surface.records.empty());   // a visible bar: no axes
    bar.value = 10000;
    g->SKALEN(0);
    float xp = 0, yp = 0;
    g->KOORDTRANS(200, 0, xp, yp);
    EXPECT_NEAR(xp, 124 * 1.01 - 10, 1e-3);
    // A drawing that fits hides the bar and pans back.
    project.exec("UPDATE G0 SET XMAX = 100");
    g->ELXDIFF(std::vector<float>{100});
    g->SKALEN(0);
    EXPECT_FALSE(bar.visible);
    EXPECT_EQ(bar.value, 0);
    EXPECT_FLOAT_EQ(g->PANX(), 0);
}

TEST_F(DrawTest, OnlyTheXAxisWhenYIsOff)
{
    activeRecord(1);
    row(1, 11, "OX, OY, RL, RR, RO, RU", "1, -1, 10, 10, 10, 10");   // scales computed
    auto g = diagram();
    g->EAXEY(0);
    g->ETEXTX("x");
    g->ETEXTY("y");
    g->SKALEN(0);
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_EQ(texts()[0].text, "x");
    EXPECT_TRUE(surface.of(Recorded::RotatedText).empty());
}

TEST_F(DrawTest, LogarithmicAxisOnDecades)
{
    activeRecord(1);
    row(1, 11, "OX, OY, RL, RR, RO, RU, XMIN, XMAX, YMIN, YMAX", "1, -1, 0, 0, 0, 10, 1, 1000, 0, 10");
    auto g = diagram();
    g->ESKTX(1);
    g->EAXEY(0);
    g->ELXMIN(std::vector<float>{1, 10, 100, 1000});
    g->ELXIT(std::vector<float>{1});
    g->ELXGIT(std::vector<float>{1});
    g->SKALEN(0);
    EXPECT_TRUE(boxes().empty());
    EXPECT_FLOAT_EQ(g->layout().XMIN, 0);   // log10 bounds in drawing calls
    EXPECT_FLOAT_EQ(g->layout().XMAX, 3);
    EXPECT_EQ(g->xCounts().N, 4);
    // Labels 10^P on the decades; the last ones stand beyond the box and are left out.
    std::vector<QString> labels;
    for (const Recorded& t : texts())
        labels.push_back(t.text);
    EXPECT_EQ(labels, (std::vector<QString>{"1", "10", "100"}));
    const auto l = lines();
    for (double x : {0.0, 124.0 / 3, 2 * 124.0 / 3, 124.0})
        EXPECT_TRUE(std::any_of(l.begin(), l.end(), [&](const Recorded& r) {
            return sameSegment(r, {x, 0}, {x, 105}, 2e-3);
        })) << "grid at " << x;
}
