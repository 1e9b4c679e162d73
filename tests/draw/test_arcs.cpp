// Arcs: the line solvers, the crossings of a circle with the inner box, its pieces,
// the overlap with the requested arc, and KREIS with its modes, marks and messages.
#include "DrawFixture.h"
#include "draw/ArcClip.h"
#include <cmath>
#include <numbers>

namespace {

constexpr float kPi = 3.1415927f;
constexpr float kTwoPi = 2 * kPi;

std::vector<Recorded> arcs(const RecordingSurface& s)
{
    return s.of(Recorded::Arc);
}

bool touches_any(const std::vector<Recorded>& l, QPointF p)
{
    return std::any_of(l.begin(), l.end(), [&](const Recorded& r) { return touches(r, p); });
}

} // namespace

TEST(ArcClip, LineSolvers)
{
    std::array<float, 2> pair{7, 7};
    bool found = false;
    SCHNITTSENKRECHT(0, 0, 5, 3, pair, found);
    EXPECT_TRUE(found);
    EXPECT_EQ(pair, (std::array<float, 2>{-4, 4}));
    SCHNITTWAAGRECHT(1, 2, 5, 5, pair, found);   // y = 5: x = 1 -+ 4
    EXPECT_TRUE(found);
    EXPECT_EQ(pair, (std::array<float, 2>{-3, 5}));
    SCHNITTSENKRECHT(0, 2, 5, 5, pair, found);   // a tangent counts, twice the same value
    EXPECT_TRUE(found);
    EXPECT_EQ(pair, (std::array<float, 2>{2, 2}));
    pair = {7, 7};
    SCHNITTSENKRECHT(0, 0, 5, 6, pair, found);   // misses: the pair stays as it was
    EXPECT_FALSE(found);
    EXPECT_EQ(pair, (std::array<float, 2>{7, 7}));
    found = true;
    SCHNITTWAAGRECHT(0, 0, 5, -6, pair, found);
    EXPECT_FALSE(found);
    EXPECT_EQ(pair, (std::array<float, 2>{7, 7}));
}

TEST(ArcClip, CrossingsAndPieces)
{
    // Inner box (0, 0)-(10, 10).
    struct Case {
        const char* name;
        float x, y, r;
        std::size_t points;
        int pairs;
        std::vector<ArcSpan> pieces;
    };
    const std::vector<Case> cases = {
        {"left pair bulging in", -2, 5, 4, 2, 1, {{1.0472f, 5.2360f}}},
        {"corner cut off", -2, 12, 4, 2, 0, {{5.759586f, 5.235988f}}},
        {"through both left corners", -12, 5, 13, 2, 1, {{0.394791f, 5.888394f}}},
        {"no crossing", 20, 20, 1, 0, 0, {}},
        {"four edges", 5, 5, 6, 8, 4, {{2.555907f, 2.156482f}, {0.985110f, 0.585686f}, {5.697499f, 5.298075f}, {4.126703f, 3.727279f}}},
    };
    for (const Case& c : cases) {
        const ArcCrossings x = ArcBoxCrossings(c.x, c.y, c.r, 0, 10, 0, 10);
        EXPECT_EQ(x.points.size(), c.points) << c.name;
        EXPECT_EQ(x.pairs, c.pairs) << c.name;
        const auto pieces = ArcPieces(x, c.x, c.y);
        ASSERT_EQ(pieces.size(), c.pieces.size()) << c.name;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            EXPECT_NEAR(pieces[i].start, c.pieces[i].start, 1e-4) << c.name << " " << i;
            EXPECT_NEAR(pieces[i].end, c.pieces[i].end, 1e-4) << c.name << " " << i;
        }
    }
    // The pair through both corners keeps its order along the left edge.
    const ArcCrossings corners = ArcBoxCrossings(-12, 5, 13, 0, 10, 0, 10);
    EXPECT_EQ(corners.points[0].y, 0.0f);
    EXPECT_EQ(corners.points[1].y, 10.0f);
    EXPECT_TRUE(corners.pairFirst);
    // A circle through a corner that Single rounding puts inside on one edge only.
    EXPECT_EQ(ArcBoxCrossings(-15, -6, std::sqrt(261.0f), 0, 10, 0, 10).points.size(), 1u);
}

TEST(ArcClip, OverlapWithTheArc)
{
    struct Case { const char* name; ArcSpan piece; float H1, H2; std::vector<ArcSpan> parts; };
    const std::vector<Case> cases = {
        {"full turn across 3 o'clock", {1.0472f, 5.2360f}, kTwoPi, 0, {{1.0472f, 0}, {kTwoPi, 5.2360f}}},
        {"piece holds the arc", {1.0472f, 5.2360f}, 0.5f, 5.5f, {{0.5f, 5.5f}}},
        {"piece inside the arc", {2.5559f, 2.1565f}, kTwoPi, 0, {{2.5559f, 2.1565f}}},
        {"arc ends in the piece", {3, 1}, 4, 2, {{3, 2}}},
        {"arc starts in the piece", {3, 1}, 2, 0.5f, {{2, 1}}},
        {"apart", {3, 1}, 6, 4, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ArcOverlap(c.piece, c.H1, c.H2), c.parts) << c.name;
}

TEST_F(DrawTest, FullCircleAndQuarter)
{
    auto g = pageDiagram();
    float AL2 = 0;
    g->KREIS(50, 50, 10, 0, AL2);
    EXPECT_FLOAT_EQ(AL2, 6.2831855f);
    const auto full = surface.of(Recorded::Circle);
    ASSERT_EQ(full.size(), 1u);
    EXPECT_TRUE(surface.of(Recorded::Arc).empty());
    EXPECT_TRUE(near(full[0].p1, {50, 50}));
    EXPECT_NEAR(full[0].radius, 10, 1e-9);

    // World and page angles coincide (x right, depth down): 3 o'clock to 6 o'clock.
    surface.records.clear();
    g->KREIS(50, 50, 10, 0, kPi / 2);
    auto a = arcs(surface);
    ASSERT_EQ(a.size(), 1u);
    EXPECT_NEAR(a[0].start, 3 * std::numbers::pi / 2, 1e-5);
    EXPECT_NEAR(a[0].end, 2 * std::numbers::pi, 1e-5);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(DrawTest, CircleAndChordModesGoDifferentWays)
{
    auto g = pageDiagram();
    g->KREIS(50, 50, 10, 3 * kPi / 2, kPi / 2);   // circle mode: the right half, across 0
    auto a = arcs(surface);
    ASSERT_EQ(a.size(), 1u);
    EXPECT_NEAR(a[0].start, 3 * std::numbers::pi / 2, 1e-5);
    EXPECT_NEAR(a[0].end, std::numbers::pi / 2, 1e-5);

    surface.records.clear();
    g->KREIS(50, 50, 10, 3 * kPi / 2, kPi / 2, 0, true);   // chords: the direct way, the left half
    const auto l = lines();
    ASSERT_EQ(l.size(), 18u);
    for (const Recorded& r : l) {
        EXPECT_LE(r.p1.x(), 50 + 1e-4);
        EXPECT_LE(r.p2.x(), 50 + 1e-4);
        EXPECT_NEAR(segmentLength(r), 2 * 10 * std::sin(5 * std::numbers::pi / 180), 1e-3);
    }
    EXPECT_TRUE(touches_any(l, {50, 40}) && touches_any(l, {50, 60}));
}

TEST_F(DrawTest, ArcCutAtTheInnerBox)
{
    RecordingSurface box(10, 10);
    auto g = pageDiagram(0, 0, 0, 0, 1, &box);
    // A full turn from a centre left of the box: two arcs meeting at 3 o'clock.
    g->KREIS(-2, 5, 4);
    auto a = arcs(box);
    ASSERT_EQ(a.size(), 2u);
    EXPECT_NEAR(a[0].start, 5.2360, 1e-4);
    EXPECT_NEAR(a[0].end, 6.2832, 1e-4);
    EXPECT_NEAR(a[1].start, 0.0, 1e-4);
    EXPECT_NEAR(a[1].end, 1.0472, 1e-4);
    // Crossing every edge twice: one arc at each corner.
    box.records.clear();
    g->KREIS(5, 5, 6);
    a = arcs(box);
    ASSERT_EQ(a.size(), 4u);
    for (const Recorded& r : a) {
        // Each arc's middle direction (counter-clockwise as seen) points at a corner.
        const double mid = (r.start + r.end) / 2;
        EXPECT_NEAR(std::fmod(mid, std::numbers::pi / 2), std::numbers::pi / 4, 1e-3);
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(DrawTest, ArcsThatDrawNothing)
{
    RecordingSurface box(10, 10);
    auto g = pageDiagram(0, 0, 0, 0, 1, &box);
    g->KREIS(5, 5, 8, 0, 0, 1);      // round the whole box
    g->KREIS(30, 5, 4, 0, 0, 1);     // bounding square beside the box
    g->KREIS(20, 20, 1, 0, 0, 1);
    EXPECT_TRUE(box.records.empty());
    // Chord mode with equal start and end: no chords, no marks, and it returns.
    g->KREIS(5, 5, 3, 1, 1, 1, true);
    EXPECT_TRUE(box.records.empty());
    EXPECT_TRUE(boxes().empty());
}

TEST_F(DrawTest, OddCrossingsAndNegativeAngles)
{
    RecordingSurface box(10, 10);
    auto g = pageDiagram(0, 0, 0, 0, 1, &box);
    project.dialogs().msgAnswers = {MsgResult::OK, MsgResult::OK};
    g->KREIS(-15, -6, std::sqrt(261.0f), 0, 0, 1, false, 0);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Ungerade Anzahl von Schnittpunkten des Kreises mit den Grenzen");
    EXPECT_EQ(boxes()[0].title, "Bogen");
    EXPECT_EQ(boxes()[0].buttons, MsgButtons::OK);
    EXPECT_EQ(boxes()[0].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(box.records.empty());   // nothing drawn, no marks

    // An end angle beyond two turns cannot be given to the surface.
    auto p = pageDiagram();
    p->KREIS(50, 50, 10, 0, 20);
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[1].text, "Winkel  H1 bzw. H2 < 0");
    EXPECT_EQ(boxes()[1].title, "KREIS");
    EXPECT_EQ(boxes()[1].buttons, MsgButtons::OK);
    EXPECT_TRUE(surface.records.empty());
}

TEST_F(DrawTest, ArcEndMarks)
{
    auto g = pageDiagram();
    surface.setFillStyle(0);
    surface.setFillColor(255);
    // An arc 3 mm long: heads 1.5 mm long, so their bases are 2 * 1.5 * tan 15 wide.
    g->KREIS(50, 50, 3, 0, 1, 1);
    ASSERT_EQ(arcs(surface).size(), 1u);
    auto l = lines();
    ASSERT_EQ(l.size(), 3u);
    const QPointF P1(53, 50), P2(50 + 3 * std::cos(1.0), 50 + 3 * std::sin(1.0));
    EXPECT_TRUE(near(l[0].p1, P1, 1e-4) || near(l[0].p2, P1, 1e-4));   // the tip at the start (AL1)
    const double base = segmentLength(l[1]);
    EXPECT_NEAR(base, 2 * 1.5 * std::tan(15 * std::numbers::pi / 180), 1e-4);
    EXPECT_EQ(surface.FillStyle(), 1);
    EXPECT_EQ(surface.FillColor(), 0xFFFFFF);

    struct Case { int16_t kind; std::size_t heads; std::size_t dots; };
    for (const Case& c : {Case{2, 1, 0}, Case{3, 2, 0}, Case{4, 1, 1}, Case{5, 1, 1}, Case{6, 0, 0}}) {
        surface.records.clear();
        surface.setForeColor(255);
        surface.setFillStyle(0);
        g->KREIS(50, 50, 10, 0, 1, c.kind);
        EXPECT_EQ(lines().size(), 3 * c.heads) << c.kind;
        const auto dots = surface.of(Recorded::Circle);
        ASSERT_EQ(dots.size(), c.dots) << c.kind;
        if (c.dots) {
            EXPECT_NEAR(dots[0].radius, 0.5, 1e-9);
            EXPECT_EQ(dots[0].fillStyle, 0);   // a filled disc in the line colour
            EXPECT_EQ(dots[0].fillColor, 255);
            // Dot at the H1 end (the end angle AL2 here) for 4, at the H2 end for 5.
            const QPointF at = c.kind == 4 ? QPointF(50 + 10 * std::cos(1.0), 50 + 10 * std::sin(1.0)) : QPointF(60, 50);
            EXPECT_TRUE(near(dots[0].p1, at, 1e-4)) << c.kind;
        }
        EXPECT_EQ(surface.FillStyle(), 1) << c.kind;
        EXPECT_EQ(surface.FillColor(), 0xFFFFFF) << c.kind;
    }
    // A radius of 0 with marks fails in the arrow length.
    surface.records.clear();
    project.dialogs().msgAnswers = {MsgResult::Cancel};
    g->KREIS(50, 50, 0, 0, 1, 1);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].title, "KREIS");
    EXPECT_TRUE(boxes()[0].text.startsWith("VB-Fehler: \nFehlerNr. "));
    EXPECT_TRUE(lines().empty());
}

TEST_F(DrawTest, ArcCoordinateModes)
{
    auto g = pageDiagram();
    g->EXDL(5);
    g->EYDO(7);
    g->KREIS(20, 30, 4, 0, 0, 0, false, 0);   // page mm
    g->KREIS(20, 30, 4, 0, 0, 0, false, 2);   // mm from the box's corner
    const auto c = surface.of(Recorded::Circle);
    ASSERT_EQ(c.size(), 2u);
    EXPECT_TRUE(near(c[0].p1, {20, 30}));
    EXPECT_TRUE(near(c[1].p1, {25, 37}));
    // No such mode: the box, and nothing drawn at a made-up place.
    surface.records.clear();
    project.dialogs().msgAnswers = {MsgResult::OK};
    g->KREIS(20, 30, 4, 0, 0, 1, false, 3);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].title, "KREIS");
    EXPECT_TRUE(boxes()[0].text.startsWith("VB-Fehler: \nFehlerNr. 5\n"));
    EXPECT_TRUE(surface.records.empty());
}

TEST_F(DrawTest, ArcInWorldUnitsStaysACircle)
{
    activeRecord(1);
    row(1, 11, "OX, OY, RL, RR, RO, RU, XMIN, XMAX, YMIN, YMAX, MX, MY", "1, -1, 0, 0, 0, 0, 0, 100, 0, 50, 1, 0.5");
    auto g = diagram();
    loadLayout(*g);
    surface.records.clear();
    g->KREIS(50, 20, 10);   // radius from the start direction, x: 10 mm
    const auto c = surface.of(Recorded::Circle);
    ASSERT_EQ(c.size(), 1u);
    EXPECT_TRUE(near(c[0].p1, {50, 40}));
    EXPECT_NEAR(c[0].radius, 10, 1e-5);
}
