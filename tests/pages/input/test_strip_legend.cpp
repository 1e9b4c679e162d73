// The input-graphic page's heading strip and legend on a millimetre grid: where the
// texts stand, how far a level's number moves right, and the flow line's sample.
#include "pages/common/SectionPageFixture.h"
#include "pages/input/StripAndLegend.h"
#include "platform/ErrorGuard.h"

namespace {

class StripAndLegend : public ::testing::Test {
protected:
    TempProject project;
    std::unique_ptr<RecordingSurface> area;

    // The area of the given size drawn by f on its layout row, a millimetre grid.
    RecordingSurface& drawn(double width, double height, const std::function<void(Guard&, clsGRAFIK&)>& f)
    {
        project.exec(QStringLiteral("INSERT OR REPLACE INTO G0 (ID, IDOBJEKT, OX, OY, RL, RR, RO, RU, MX, MY) "
                                    "VALUES (1, 18, 1, -1, 0, 0, 0, 0, 1, 1)"));
        area = std::make_unique<RecordingSurface>(width, height);
        clsGRAFIK d(project.ctx());
        d.EID(1);
        d.EIDOBJEKT(18);
        d.EOBJEKT(area.get());
        d.EAXEX(0);
        d.EAXEY(0);
        d.SKALEN(0);
        Guarded(project.ctx().dlg(), RoutineBox(QStringLiteral("Seite 1")), [&](Guard& g) { f(g, d); });
        return *area;
    }
    RecordingSurface& strip(float ZGWLS, float ZGWRS)
    {
        return drawn(120, 13, [&](Guard& g, clsGRAFIK& d) { DrawHeadingStrip(g, d, ZGWLS, ZGWRS); });
    }
};

double bottom(const Recorded& r)
{
    return r.p1.y() + extent(r).height();
}

} // namespace

TEST_F(StripAndLegend, HeadingsStandOnTheirLines)
{
    const LocaleScope english(English());
    const RecordingSurface& area = strip(-2, 0);
    const std::vector<Recorded> texts = area.of(Recorded::Text);
    ASSERT_EQ(texts.size(), 9u);
    const struct {
        const char* text;
        int which;
        double left, bottom;
        float size;
        bool bold;
    } expected[] = {
        {"Linke Seite", 0, 5, 4, 9, true},        {"Rechte Seite", 0, 65, 4, 9, true},
        {"Tremolspiegelhöhe", 0, 5, 8, 8, true},  {"z = ", 0, 5, 12, 8, false},
        {"z = ", 1, 65, 12, 8, false},            {"m", 0, 17, 12, 8, false},
        {"m", 1, 77, 12, 8, false},
    };
    for (const auto& e : expected) {
        const Recorded r = TextOn(texts, QString::fromUtf8(e.text), e.which);
        EXPECT_NEAR(r.p1.x(), e.left, 1e-3) << e.text;
        EXPECT_NEAR(bottom(r), e.bottom, 1e-3) << e.text;
        EXPECT_EQ(r.font.Size, e.size) << e.text;
        EXPECT_EQ(r.font.Bold, e.bold) << e.text;
    }
    EXPECT_NEAR(rightEdge(TextOn(texts, QStringLiteral("-2.00"))), 16, 1e-3);
    EXPECT_NEAR(rightEdge(TextOn(texts, QStringLiteral("0.00"))), 76, 1e-3);
}

TEST_F(StripAndLegend, LongerLevelsEndFurtherRight)
{
    const LocaleScope english(English());
    const struct {
        float level;
        const char* text;
        double shift;
    } cases[] = {
        {100, "100.00", 2}, {100.01f, "100.01", 3}, {10, "10.00", 0},   {10.01f, "10.01", 2},
        {-150, "-150.00", 0}, {2.5f, "2.50", 0},    {250, "250.00", 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LevelShift(c.level), c.shift) << c.level;
        const RecordingSurface& area = strip(c.level, c.level);
        const std::vector<Recorded> texts = area.of(Recorded::Text);
        const QString number = QString::fromUtf8(c.text);
        EXPECT_NEAR(rightEdge(TextOn(texts, number, 0)), 16 + c.shift, 1e-3) << c.text;
        EXPECT_NEAR(rightEdge(TextOn(texts, number, 1)), 76 + c.shift, 1e-3) << c.text;
        EXPECT_NEAR(TextOn(texts, QStringLiteral("m"), 0).p1.x(), 17 + c.shift, 1e-3) << c.text;
        EXPECT_NEAR(TextOn(texts, QStringLiteral("m"), 1).p1.x(), 77 + c.shift, 1e-3) << c.text;
    }
}

TEST_F(StripAndLegend, LevelsTakeTheLocalesDecimalSign)
{
    const LocaleScope german(German());
    const RecordingSurface& area = strip(2.5f, -1.25f);
    const std::vector<Recorded> texts = area.of(Recorded::Text);
    TextOn(texts, QStringLiteral("2,50"));
    TextOn(texts, QStringLiteral("-1,25"));
}

TEST_F(StripAndLegend, LegendShowsTheFlowLinesSample)
{
    const RecordingSurface& area = drawn(120, 15, [](Guard& g, clsGRAFIK& d) { DrawLegend(g, d); });
    const std::vector<Recorded> texts = area.of(Recorded::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, QStringLiteral("Stromlinie"));
    EXPECT_NEAR(texts[0].p1.x(), 26, 1e-3);
    EXPECT_NEAR(centre(texts[0]).y(), 4, 1e-3);
    EXPECT_EQ(texts[0].font.Size, 7.0f);
    const std::vector<Recorded> lines = area.of(Recorded::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(sameSegment(lines[0], {11, 4}, {23, 4}));
    EXPECT_EQ(lines[0].drawStyle, 1);
    EXPECT_EQ(lines[0].colour, LongFromColor(QBColor(2)));
}
