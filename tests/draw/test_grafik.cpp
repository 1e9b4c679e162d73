// The diagram object: construction, the output object binding, the coordinate frame,
// line and font settings, the clipped line and the arrow head.
#include "DrawFixture.h"
#include "draw/DrawMath.h"
#include "platform/VbError.h"
#include "support/TestHelpers.h"
#include <numbers>

TEST_F(DrawTest, ActiveRecordGivesTheId)
{
    EXPECT_EQ(clsGRAFIK(project.ctx()).EID(), 0);   // no active record
    project.exec("INSERT INTO E1 (ID, KEN, AKT) VALUES (5, 'A', 0)");
    project.exec("INSERT INTO E1 (ID, KEN, AKT) VALUES (7, 'B', 1)");
    EXPECT_EQ(clsGRAFIK(project.ctx()).EID(), 7);
}

TEST_F(DrawTest, RecordIdsBeyondSixteenBits)
{
    // A record ID is a Long: an active record 40000 and a let of 40000 both hold.
    activeRecord(40000);
    clsGRAFIK g(project.ctx());
    EXPECT_EQ(g.EID(), 40000);
    g.EID(70000);
    EXPECT_EQ(g.EID(), 70000);
}

TEST_F(DrawTest, BindingMeasuresAndSetsDefaults)
{
    auto g = diagram();
    EXPECT_FLOAT_EQ(g->ELX(), 124.0f);
    EXPECT_FLOAT_EQ(g->ELY(), 115.0f);
    EXPECT_EQ(*g->ELXMIN(), (std::vector<float>{0.0f, 124.0f}));
    EXPECT_EQ(*g->ELXDIFF(), (std::vector<float>{124.0f}));
    EXPECT_EQ(*g->ELXIT(), (std::vector<float>{1.0f}));
    EXPECT_EQ(*g->ELXGIT(), (std::vector<float>{0.0f}));
    EXPECT_EQ(*g->ELXZL(), (std::vector<float>{0.0f}));
    EXPECT_NEAR(g->pixelsPerUnit(), 96 / 25.4, 1e-5);
    EXPECT_EQ(surface.FontName(), "Arial");
    EXPECT_FLOAT_EQ(surface.FontSize(), 8.0f);
    const auto& f = g->fontSet();
    EXPECT_EQ(f[3].Name, "Symbol");
    EXPECT_EQ(f[5].Name, "Symbol");
    EXPECT_EQ(f[2].Name, "Arial");
    EXPECT_FLOAT_EQ(f[4].Size, 7.0f);
    EXPECT_FLOAT_EQ(f[5].Size, 7.0f);
    EXPECT_EQ(g->EIDOBJEKT(), 11);
    EXPECT_EQ(g->ESKZX(), "####0");
    EXPECT_EQ(g->EAXEX(), 1);

    g->ELXGIT(std::vector<float>{0, 1});
    EXPECT_EQ(*g->ELXZL(), (std::vector<float>{0, 1}));
    g->ELXMIN(std::vector<float>{-5, 5});
    g->ELX(50);
    EXPECT_EQ(*g->ELXMIN(), (std::vector<float>{0, 50}));

    g->EXYIT(2.5f);   // held whole, halves to even
    EXPECT_FLOAT_EQ(g->EXYIT(), 2.0f);
}

TEST_F(DrawTest, OtherObjectsOnlyGetTheFont)
{
    RecordingSurface other(50, 50, SurfaceKind::Other);
    other.setFontName("Courier");
    clsGRAFIK g(project.ctx());
    g.ELX(10);
    g.EOBJEKT(&other);
    EXPECT_FLOAT_EQ(g.ELX(), 10.0f);
    EXPECT_EQ(g.pixelsPerUnit(), 0.0f);
    EXPECT_EQ(other.FontName(), "Arial");
}

TEST_F(DrawTest, CoordinateTransformAndInverse)
{
    activeRecord(1);
    row(1, 11, "OX, OY, RL, RR, RO, RU, XMIN, XMAX, YMIN, YMAX, MX, MY",
        "1, -1, 0, 0, 0, 0, 0, 12.4, 2, 13.5, 0.1, 0.1");
    auto g = diagram();
    loadLayout(*g);
    struct Case { float x, y, xp, yp; };
    for (const Case& c : {Case{1, 3, 10, 10}, Case{0, 2, 0, 0}, Case{5, 12, 50, 100}}) {
        float xp = 0, yp = 0, x = 0, y = 0;
        g->KOORDTRANS(c.x, c.y, xp, yp);
        EXPECT_NEAR(xp, c.xp, 1e-4);
        EXPECT_NEAR(yp, c.yp, 1e-4);
        g->KOORDTRANSINV(xp, yp, x, y);
        EXPECT_NEAR(x, c.x, 1e-4);
        EXPECT_NEAR(y, c.y, 1e-4);
    }
    float x = 0, y = 0;
    g->KOORDTRANSINV(10, 10, x, y, 1, 1);   // logarithmic: 10^x, 10^y
    EXPECT_NEAR(x, 10.0f, 1e-4);
    EXPECT_NEAR(y, 1000.0f, 1e-2);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(DrawTest, DirectionsAndOffsets)
{
    activeRecord(1);
    row(1, 11, "OX, OY, RL, RR, RO, RU, XMIN, XMAX, YMIN, YMAX, MX, MY",
        "-1, 1, 2, 0, 3, 0, 0, 10, 0, 10, 1, 1");
    auto g = diagram();
    g->EXDL(5);
    g->EYDO(7);
    loadLayout(*g);
    // The default tables make the window as large as the box: XMAX 124, YMAX 115.
    EXPECT_FLOAT_EQ(g->layout().XMAX, 124.0f);
    float xp = 0, yp = 0;
    g->KOORDTRANS(124, 115, xp, yp);   // XMAX at the left, YMAX at the top
    EXPECT_NEAR(xp, 5 + 2, 1e-5);
    EXPECT_NEAR(yp, 7 + 3, 1e-5);
    g->EXMOD(1);
    g->EYMOD(2);
    float x = 0, y = 0;
    g->KOORDTRANSINV(7, 10, x, y);
    EXPECT_NEAR(x, 124 + 1, 1e-4);
    EXPECT_NEAR(y, 115 + 2, 1e-4);
}

TEST_F(DrawTest, ZeroScaleShowsTheTransformBox)
{
    auto g = diagram();   // no SKALEN: all layout values 0
    project.dialogs().msgAnswers = {MsgResult::OK, MsgResult::Cancel};
    float xp = -1, yp = -1;
    g->KOORDTRANS(1, 1, xp, yp);
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[0].title, "Koordinatentransformation");
    EXPECT_TRUE(boxes()[0].text.startsWith("VB-Fehler: 11\n"));
    EXPECT_EQ(boxes()[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(boxes()[0].buttons, MsgButtons::OKCancel);
    EXPECT_EQ(xp, -1.0f);   // nothing computed, no infinity
    EXPECT_EQ(yp, -1.0f);
    project.dialogs().msgAnswers = {MsgResult::Cancel};
    float x = -1, y = -1;
    g->KOORDTRANSINV(1, 1, x, y);
    EXPECT_EQ(boxes().back().title, "Inverse Koordinatentransformation");
    EXPECT_EQ(x, -1.0f);
    EXPECT_EQ(y, -1.0f);
}

TEST_F(DrawTest, LineSettings)
{
    auto g = diagram();
    int16_t style = 0;
    float width = 0;
    int32_t colour = 0;
    g->LINIENEINSTELLUNGEN(style, width, colour);
    EXPECT_EQ(surface.DrawStyle(), 0);
    EXPECT_FLOAT_EQ(surface.DrawWidth(), 1.0f);
    EXPECT_EQ(surface.DrawMode(), 13);
    EXPECT_EQ(surface.ForeColor(), 0);
    EXPECT_FLOAT_EQ(width, 1.0f);

    RecordingSurface paper(297, 210, SurfaceKind::Printer, 3.78 * 25.4);
    clsGRAFIK p(project.ctx());
    p.EOBJEKT(&paper);
    style = 1;
    width = 0.5f;
    colour = 255;
    p.LINIENEINSTELLUNGEN(style, width, colour);
    EXPECT_NEAR(width, 1.89f, 1e-4);
    EXPECT_NEAR(paper.DrawWidth(), 1.89f, 1e-4);
    EXPECT_EQ(paper.DrawStyle(), 1);
    EXPECT_EQ(paper.ForeColor(), 255);
    p.LINIENEINSTELLUNGEN(2, 0.0f, 12);   // literals: nothing written back
    EXPECT_EQ(paper.DrawStyle(), 2);
    EXPECT_EQ(paper.ForeColor(), 12);
}

TEST_F(DrawTest, FontSettingsBuildTheFontSet)
{
    auto g = diagram();
    g->SCHRIFTEINSTELLUNGEN("Arial", 12, true, false, false, 255);
    EXPECT_EQ(surface.ForeColor(), 255);
    const auto& f = g->fontSet();
    for (int n : {1, 2}) {
        EXPECT_EQ(f[n].Name, "Arial");
        EXPECT_FLOAT_EQ(f[n].Size, 12.0f);
        EXPECT_TRUE(f[n].Bold);
    }
    EXPECT_FLOAT_EQ(f[4].Size, 10.0f);
    EXPECT_EQ(f[5].Name, "Symbol");
    EXPECT_FLOAT_EQ(f[5].Size, 10.0f);
    EXPECT_TRUE(f[5].Bold);
    g->SCHRIFTEINSTELLUNGEN("", 0, false, false, false, -5);
    EXPECT_EQ(surface.ForeColor(), 0);
    struct Index { int16_t size; float index; };
    for (const Index& c : {Index{8, 7}, Index{10, 9}, Index{7, 6}, Index{12, 10}, Index{9, 8}, Index{11, 9}}) {
        g->SCHRIFTEINSTELLUNGEN("Arial", c.size);
        EXPECT_FLOAT_EQ(g->fontSet()[4].Size, c.index) << c.size;
    }
}

TEST_F(DrawTest, FontSettingsWithoutObjectShowTheirBox)
{
    clsGRAFIK g(project.ctx());
    project.dialogs().msgAnswers = {MsgResult::Cancel};
    g.SCHRIFTEINSTELLUNGEN();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].title, "Schrifteinstellungen");
    EXPECT_TRUE(boxes()[0].text.startsWith("VB-Fehler:91\n"));
    project.dialogs().msgAnswers = {MsgResult::Cancel};
    g.LINIENEINSTELLUNGEN();
    EXPECT_EQ(boxes().back().title, "Linieneinstellungen");
    EXPECT_TRUE(boxes().back().text.startsWith("VB-Fehler 91\n"));
}

namespace {

struct ClipCase {
    const char* name;
    float x1, y1, x2, y2;
    bool drawn;
    QPointF a, b;
};

class ClippedLine : public DrawTest, public ::testing::WithParamInterface<ClipCase> {};

} // namespace

TEST_P(ClippedLine, VisiblePart)
{
    // Diagram box (0,0)-(10,10), no margins: both clip rectangles are that box.
    RecordingSurface small(10, 10);
    clsGRAFIK g(project.ctx());
    g.EOBJEKT(&small);
    const ClipCase& c = GetParam();
    g.LINIE(c.x1, c.y1, c.x2, c.y2);
    const auto drawn = small.of(Recorded::Line);
    ASSERT_EQ(drawn.size(), c.drawn ? 1u : 0u) << c.name;
    if (c.drawn) {
        EXPECT_TRUE(sameSegment(drawn[0], c.a, c.b)) << c.name << ": " << drawn[0].p1.x() << ","
                                                      << drawn[0].p1.y() << " " << drawn[0].p2.x()
                                                      << "," << drawn[0].p2.y();
    }
    EXPECT_TRUE(project.dialogs().boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(Linie, ClippedLine, ::testing::Values(
    ClipCase{"inside", 1, 2, 8, 9, true, {1, 2}, {8, 9}},
    ClipCase{"horizontal across", -5, 5, 15, 5, true, {0, 5}, {10, 5}},
    ClipCase{"vertical across", 5, -3, 5, 14, true, {5, 0}, {5, 10}},
    ClipCase{"sloped across", -5, 0, 15, 10, true, {0, 2.5}, {10, 7.5}},
    ClipCase{"sloped reversed", 15, 10, -5, 0, true, {0, 2.5}, {10, 7.5}},
    ClipCase{"one end inside", 5, 5, 15, 10, true, {5, 5}, {10, 7.5}},
    ClipCase{"misses the corner", -5, 6, 6, 20, false, {}, {}},
    ClipCase{"all left", -5, 1, -1, 9, false, {}, {}},
    ClipCase{"on the edge", 0, 0, 10, 0, true, {0, 0}, {10, 0}}));

TEST_F(DrawTest, ClipRectangleOfBosk)
{
    activeRecord(1);
    row(1, 11, "OX, OY, RL, RR, RO, RU, XMIN, XMAX, YMIN, YMAX, MX, MY",
        "1, -1, 11, 7, 7, 11, 0, 10, 0, 10, 1, 1");
    auto g = diagram();
    loadLayout(*g);
    g->LINIE(-10, 50, 200, 50);            // inner box: 11..117
    g->LINIE(-10, 60, 200, 60, std::nullopt, 1);   // diagram box: 0..124
    ASSERT_EQ(lines().size(), 2u);
    EXPECT_TRUE(sameSegment(lines()[0], {11, 50}, {117, 50}));
    EXPECT_TRUE(sameSegment(lines()[1], {0, 60}, {124, 60}));
    // With a colour the clamped points span a filled box.
    g->LINIE(-10, 50, 200, 52, 255);
    const auto filled = surface.of(Recorded::FilledBox);
    ASSERT_EQ(filled.size(), 1u);
    EXPECT_EQ(filled[0].colour, 255);
    EXPECT_TRUE(near(filled[0].p1, {11, 50}) && near(filled[0].p2, {117, 52}));
}

TEST_F(DrawTest, LinearInterpolationAndMinimum)
{
    EXPECT_FLOAT_EQ(LININT(project.dialogs(), 0, 10, 5, 0, 10), 5.0f);
    project.dialogs().msgAnswers = {MsgResult::OK};
    EXPECT_FLOAT_EQ(LININT(project.dialogs(), 1, 1, 5, 0, 10), 0.0f);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Division durch Null!");
    EXPECT_EQ(boxes()[0].title, "LININT");
    EXPECT_EQ(boxes()[0].buttons, MsgButtons::OK);
    EXPECT_EQ(boxes()[0].icon, MsgIcon::None);
    EXPECT_FLOAT_EQ(MINWERT(3, -1), -1.0f);
    EXPECT_FLOAT_EQ(MINWERT(2, 2), 2.0f);
    EXPECT_FLOAT_EQ(LOG10(0), 0.0f);
    EXPECT_FLOAT_EQ(LOG10(-5), 0.0f);
    EXPECT_FLOAT_EQ(LOG10(1000), 3.0f);
}

TEST(DrawMath, SegmentDirection)
{
    constexpr double pi = std::numbers::pi;
    struct Case { float x2, y2; double angle; };
    for (const Case& c : {Case{0, 1, pi / 2}, Case{0, -1, 3 * pi / 2}, Case{-1, 0, pi}, Case{1, -1, 7 * pi / 4},
                          Case{1, 0, 0}, Case{0, 0, 0}, Case{-1, -1, 5 * pi / 4}, Case{1, 1, pi / 4}})
        EXPECT_NEAR(STRECKENWINKEL(0, 0, c.x2, c.y2), c.angle, 1e-6) << c.x2 << "," << c.y2;
}

TEST(DrawMath, CheckedSingles)
{
    EXPECT_THROW(SngDiv(1, 0), VbError);
    EXPECT_EQ(VbErrorOf([] { CheckedSng(1e300); }), VbErr::Overflow);
}

TEST_F(DrawTest, ArrowHead)
{
    auto g = diagram();
    g->PFEIL(20, 20, 30, 20);
    ASSERT_EQ(lines().size(), 3u);
    const auto l = lines();
    const QPointF tip(30, 20), a(30 - 2.415, 20 - 0.647), b(30 - 2.415, 20 + 0.647);
    EXPECT_TRUE(sameSegment(l[0], tip, a, 2e-3));
    EXPECT_TRUE(sameSegment(l[1], tip, b, 2e-3));
    EXPECT_TRUE(sameSegment(l[2], a, b, 2e-3));
    surface.records.clear();
    g->PFEIL(20, 20, 24, 20);   // 4 mm: barbs of 2 mm
    EXPECT_NEAR(std::hypot(lines()[0].p1.x() - 24, lines()[0].p1.y() - 20), 2.0, 1e-4);
    surface.records.clear();
    g->PFEIL(20, 20, 20, 20);   // no length: zero-length strokes at the tip
    ASSERT_EQ(lines().size(), 3u);
    EXPECT_TRUE(near(lines()[0].p2, {20, 20}));
}
