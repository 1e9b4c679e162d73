// The engineering symbols: ground hatching, water-level triangle, load areas and the
// section-force symbol.
#include "DrawFixture.h"
#include "SectionAxes.h"
#include "platform/Colors.h"
#include <algorithm>
#include <cmath>

TEST_F(DrawTest, GroundHatchingAsThePagesDrawIt)
{
    // World units of 0.5 m per mm; the pages' call: 2 mm strokes, two repetitions.
    auto g = pageDiagram(0, 0, 0, 0, 0.5f);
    g->GELAENDESCHRAFFUR(10, 20, 2, 2, 0, 2);   // page (20, 40)
    const auto l = lines();
    ASSERT_EQ(l.size(), 12u);
    const double s = 2 / std::sqrt(2.0);
    const QPointF P(20, 40), u(s, s), v(s, -s);
    const QPointF expected[6][2] = {{P, P + u}, {P + u, P + 2 * u}, {P + u, P + u + v},
                                    {P + 2 * u, P + 2 * u + v}, {P + 2 * u + v, P + 3 * u + v},
                                    {P + 2 * u + v, P + 2 * u + 2 * v}};
    for (int rep = 0; rep < 2; ++rep) {
        const QPointF shift(rep * 4 * s, 0);   // 5.657 mm along the level ground
        for (int k = 0; k < 6; ++k)
            EXPECT_TRUE(sameSegment(l[std::size_t(6 * rep + k)], expected[k][0] + shift, expected[k][1] + shift, 2e-3))
                << rep << "/" << k;
    }
    EXPECT_NEAR(4 * s, 5.657, 1e-3);
    surface.records.clear();
    g->GELAENDESCHRAFFUR(10, 20, 2, 0, 0, 2);
    EXPECT_TRUE(surface.records.empty());
    // The strokes are polylines of the current drawing type.
    g->EPTYP(9);
    g->GELAENDESCHRAFFUR(10, 20, 2, 2, 0, 2);
    EXPECT_TRUE(surface.records.empty());
    EXPECT_TRUE(boxes().empty());
}

// Near the frame the hatching ends at it, though the picture goes on beyond (equal
// scales: the section is narrower than its picture): the right side's hatching starts
// 1 m inside the frame but reaches 11.3 mm, 1.6 m, to the right.
TEST_F(DrawTest, GroundHatchingEndsAtTheDiagramsFrame)
{
    activeRecord(1);
    row(1, 11, "OX, OY, RL, RR, RO, RU, XMIN, XMAX, YMIN, YMAX, MYMX, MX, MY",
        "1, -1, 0, 0, 0, 0, -4, 4, -1, 15, 1, 0, 0");
    auto g = diagram();
    SetSectionAxes(*g);   // the section's ranges from the tables, not stretched to the picture
    g->EBOXMIN(false);
    g->EBOXMAX(false);
    g->EBOYMIN(false);
    g->EBOYMAX(false);
    loadLayout(*g);
    surface.records.clear();
    ASSERT_EQ(g->layout().XMAX, 4.0f);
    float frameRight = 0, y = 0;
    g->KOORDTRANS(4, 0, frameRight, y);
    ASSERT_LT(frameRight, 100);   // well inside the 124 mm picture
    g->GELAENDESCHRAFFUR(3, 3, 2, 2, 0, 2);
    const auto l = lines();
    ASSERT_GE(l.size(), 4u);
    double right = 0;
    for (const Recorded& r : l)
        right = std::max({right, r.p1.x(), r.p2.x()});
    EXPECT_NEAR(right, frameRight, 1e-3);   // cut at the frame, not short of it
    // The strokes inside the frame are the same as without it.
    float px = 0, py = 0;
    g->KOORDTRANS(3, 3, px, py);
    const double s = 2 / std::sqrt(2.0);
    const QPointF P(px, py);
    EXPECT_TRUE(sameSegment(l[0], P, P + QPointF(s, s), 2e-3));
    EXPECT_TRUE(sameSegment(l[1], P + QPointF(s, s), P + QPointF(2 * s, 2 * s), 2e-3));
    // Wholly beyond it: nothing.
    surface.records.clear();
    g->GELAENDESCHRAFFUR(4.5f, 3, 2, 2, 0, 2);
    EXPECT_TRUE(lines().empty());
    EXPECT_TRUE(boxes().empty());
}

TEST_F(DrawTest, GroundHatchingWithoutScales)
{
    auto g = diagram();   // no SKALEN: MY is 0
    project.dialogs().msgAnswers = {MsgResult::Cancel};
    g->GELAENDESCHRAFFUR(0, 0, 2, 2, 0, 2);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].title, "Geländeschraffur");
    EXPECT_TRUE(boxes()[0].text.startsWith("VB-Fehler: "));
    EXPECT_TRUE(lines().empty());
}

TEST_F(DrawTest, WaterLevelTriangle)
{
    auto g = pageDiagram(0, 0, 0, 0, 0.5f);
    const float MX = 0.5f;
    float DH = 2 * MX;
    g->KOTENDREIECK(20, 30, DH, 0, 1, 0);   // T = page (40, 60), d = 2 mm
    EXPECT_FLOAT_EQ(DH, 2.0f);
    const QPointF T(40, 60);
    const auto l = lines();
    ASSERT_EQ(l.size(), 9u);
    EXPECT_TRUE(sameSegment(l[0], T, T + QPointF(2, 0)));
    EXPECT_TRUE(sameSegment(l[1], T, T + QPointF(-2, 0)));
    EXPECT_TRUE(sameSegment(l[2], T, T + QPointF(-2, -2)));
    EXPECT_TRUE(sameSegment(l[3], T + QPointF(-2, -2), T + QPointF(2, -2)));
    EXPECT_TRUE(sameSegment(l[4], T + QPointF(2, -2), T));
    // Level lines 3 mm long at 0.5 mm and 1 mm long at 1 mm below the level.
    EXPECT_TRUE(sameSegment(l[5], T + QPointF(0, 0.5), T + QPointF(-1.5, 0.5)));
    EXPECT_TRUE(sameSegment(l[6], T + QPointF(0, 0.5), T + QPointF(1.5, 0.5)));
    EXPECT_TRUE(sameSegment(l[7], T + QPointF(0, 1), T + QPointF(-0.5, 1)));
    EXPECT_TRUE(sameSegment(l[8], T + QPointF(0, 1), T + QPointF(0.5, 1)));

    // Fill fans: 34 rays per half from the tip to the upper side; 4 fills nothing.
    struct Fill { int16_t voll; std::size_t rays; };
    for (const Fill& f : {Fill{1, 34}, Fill{2, 34}, Fill{3, 68}, Fill{4, 0}}) {
        surface.records.clear();
        g->KOTENDREIECK(20, 30, 2 * MX, 0, 0, f.voll);
        const auto r = lines();
        ASSERT_EQ(r.size(), 5u + f.rays) << f.voll;
        for (std::size_t i = 5; i < r.size(); ++i) {
            EXPECT_TRUE(touches(r[i], T, 2e-3)) << f.voll;
            const QPointF end = near(r[i].p1, T, 2e-3) ? r[i].p2 : r[i].p1;
            EXPECT_NEAR(end.y(), 58.0, 2e-3);
            EXPECT_LE(std::abs(end.x() - 40), 2.0);
            if (f.voll == 1) {
                EXPECT_GT(end.x(), 40.0);   // the half toward the direction (right)
            }
            if (f.voll == 2) {
                EXPECT_LT(end.x(), 40.0);
            }
        }
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(DrawTest, WaterLevelTriangleWithoutScales)
{
    auto g = diagram();
    project.dialogs().msgAnswers = {MsgResult::Cancel, MsgResult::Cancel};
    float DH = 1;
    g->KOTENDREIECK(0, 0, DH, 0, 1, 0);
    ASSERT_FALSE(boxes().empty());
    EXPECT_EQ(boxes().back().title, "Kotendreieck");
    EXPECT_FLOAT_EQ(DH, 1.0f);   // no infinity written back
    EXPECT_TRUE(lines().empty());
}

TEST_F(DrawTest, LoadAreasComputeAndStoreThePressureScale)
{
    auto g = pageDiagram();
    project.exec("UPDATE G0 SET MSP = 0");
    // Ends: resultant of both loads 30 at the first end, 10 at the second.
    std::array<std::array<float, 2>, 4> P{};
    P[0] = {18, 6};   // first load up
    P[1] = {10, 0};   // first load right
    P[2] = {6, 2};    // second load up
    P[3] = {8, 0};    // second load right
    g->LASTFLAECHEN({10, 50}, {60, 60}, P, 4);
    EXPECT_FLOAT_EQ(CSng(project.scalar("SELECT MSP FROM G0 WHERE ID = 1 AND IDOBJEKT = 11")), 2.0f);
    const auto l = lines();
    // The segment, then per load five arrows (stroke and head) and the outer line.
    ASSERT_EQ(l.size(), 1u + 2 * (5 * 4 + 1));
    EXPECT_TRUE(sameSegment(l[0], {10, 60}, {50, 60}));
    const int32_t lightRed = LongFromColor(QBColor(12)), red = LongFromColor(QBColor(4));
    EXPECT_EQ(l[0].colour, lightRed);
    // First load: A' = A + (10/2, -18/2), B' = B + (0, -6/2).
    const QPointF A1(15, 51), B1(50, 57);
    EXPECT_TRUE(sameSegment(l[1], {10, 60}, A1));              // first arrow's stroke
    EXPECT_TRUE(touches(l[2], {10, 60}, 2e-3));                   // its head on the segment
    EXPECT_TRUE(sameSegment(l[17], {50, 60}, B1));            // fifth arrow at B
    EXPECT_TRUE(sameSegment(l[21], A1, B1));                   // outer line
    EXPECT_EQ(l[21].colour, lightRed);
    // Second load stacked on the first: A'' = A' + (4, -3), B'' = B' + (0, -1).
    EXPECT_TRUE(sameSegment(l[22], A1, A1 + QPointF(4, -3)));
    EXPECT_EQ(l[22].colour, red);
    EXPECT_TRUE(sameSegment(l[42], A1 + QPointF(4, -3), B1 + QPointF(0, -1)));
    EXPECT_EQ(surface.ForeColor(), red);   // the caller's settings are not restored
    EXPECT_TRUE(boxes().empty());

    // A stored scale is used as it stands.
    project.exec("UPDATE G0 SET MSP = 1");
    surface.records.clear();
    g->LASTFLAECHEN({10, 50}, {60, 60}, P, 1);
    EXPECT_FLOAT_EQ(CSng(project.scalar("SELECT MSP FROM G0 WHERE ID = 1 AND IDOBJEKT = 11")), 1.0f);
    EXPECT_TRUE(sameSegment(lines()[1], {10, 60}, {20, 42}));
}

TEST_F(DrawTest, LoadAreasFailures)
{
    auto g = pageDiagram();
    project.exec("UPDATE G0 SET MSP = 1");
    std::array<std::array<float, 2>, 4> P{};
    P[0] = {5, 5};
    project.dialogs().msgAnswers = {MsgResult::Cancel};
    g->LASTFLAECHEN({10, 50}, {60, 60}, P, 0);   // no intervals between the arrows
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].title, "Lastflächen");
    EXPECT_TRUE(boxes()[0].text.startsWith("VB-Fehler: "));
    // No loads at all: the computed scale is 0 and nothing can be scaled by it.
    project.exec("UPDATE G0 SET MSP = 0");
    project.dialogs().msgAnswers = {MsgResult::Cancel};
    g->LASTFLAECHEN({10, 50}, {60, 60}, std::array<std::array<float, 2>, 4>{}, 2);
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[1].title, "Lastflächen");
    // A segment of one point.
    project.dialogs().msgAnswers = {MsgResult::Cancel};
    g->LASTFLAECHEN({10}, {60}, P, 2);
    ASSERT_EQ(boxes().size(), 3u);
    EXPECT_TRUE(boxes()[2].text.startsWith("VB-Fehler: 9\n"));
}

TEST_F(DrawTest, SectionForceSymbol)
{
    auto g = pageDiagram();
    const int32_t green = LongFromColor(QBColor(2));
    g->SCHNITTKRAFT(10, 50, 50, 50, 8, 1, 0);
    ASSERT_EQ(surface.records.size(), 1u);
    EXPECT_TRUE(sameSegment(lines()[0], {10, 50}, {50, 50}));
    EXPECT_EQ(lines()[0].colour, green);
    EXPECT_EQ(surface.DrawStyle(), 0);
    EXPECT_NEAR(surface.DrawWidth(), 0.2 * 96 / 25.4, 1e-5);   // 0.2 mm in pixels

    // Across the segment at its middle: a double arrow 8 mm long.
    surface.records.clear();
    g->SCHNITTKRAFT(10, 50, 50, 50, 8, 1, 1);
    auto l = lines();
    ASSERT_EQ(l.size(), 2u + 6u);
    EXPECT_TRUE(sameSegment(l[1], {30, 46}, {30, 54}));
    EXPECT_TRUE(touches(l[2], {30, 54}, 2e-3));   // head at E
    EXPECT_TRUE(touches(l[5], {30, 46}, 2e-3));   // head at S
    // Along it, 1.25 mm beside it (above a segment running right).
    for (int16_t typ : {2, 3}) {
        surface.records.clear();
        g->SCHNITTKRAFT(10, 50, 50, 50, 8, typ, 1);
        l = lines();
        ASSERT_EQ(l.size(), 8u);
        EXPECT_TRUE(sameSegment(l[1], {26, 48.75}, {34, 48.75}));
        EXPECT_NEAR(segmentLength(l[1]), 8.0, 1e-3);
    }
    surface.records.clear();
    g->SCHNITTKRAFT(10, 50, 50, 50, 8, 4, 1);
    EXPECT_EQ(lines().size(), 1u);
    EXPECT_TRUE(boxes().empty());
}
