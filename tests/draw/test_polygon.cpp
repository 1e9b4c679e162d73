// Polylines: the drawing types, the segment mask, the colour table, the point marks,
// numbers, labels and arrow heads, and the failures of a call.
#include "DrawFixture.h"
#include "platform/Colors.h"

namespace {

using Seg = std::pair<QPointF, QPointF>;

// Three points and a base point at element -1 (world = page).
const SingleArray kX(std::vector<float>{5, 10, 20, 40}, -1);
const SingleArray kY(std::vector<float>{100, 50, 30, 40}, -1);
const SingleArray kX1(std::vector<float>{5, 10}, -1);
const SingleArray kY1(std::vector<float>{100, 50}, -1);

struct TypeCase {
    int16_t type;
    bool onePoint;
    std::vector<Seg> segments;
    int dots = 0;
    bool fails = false;
};

class PolygonType : public DrawTest, public ::testing::WithParamInterface<TypeCase> {};

std::string describe(const std::vector<Recorded>& l)
{
    std::string s;
    for (const Recorded& r : l)
        s += "(" + std::to_string(r.p1.x()) + "," + std::to_string(r.p1.y()) + ")-(" +
             std::to_string(r.p2.x()) + "," + std::to_string(r.p2.y()) + ") ";
    return s;
}

} // namespace

TEST_P(PolygonType, LinesInOrder)
{
    const TypeCase& c = GetParam();
    auto g = pageDiagram();
    g->EPTYP(c.type);
    surface.setForeColor(255);
    project.dialogs().msgAnswers = {MsgResult::OK};
    if (c.onePoint)
        g->POLYGON(kX1, kY1);
    else
        g->POLYGON(kX, kY);
    const auto l = lines();
    ASSERT_EQ(l.size(), c.segments.size()) << "type " << c.type << ": " << describe(l);
    for (std::size_t i = 0; i < l.size(); ++i) {
        EXPECT_TRUE(sameSegment(l[i], c.segments[i].first, c.segments[i].second))
            << "type " << c.type << " line " << i << ": " << describe(l);
        EXPECT_EQ(l[i].colour, 255);
    }
    EXPECT_EQ(surface.of(Recorded::Point).size(), std::size_t(c.dots));
    ASSERT_EQ(boxes().size(), c.fails ? 1u : 0u);
    if (c.fails) {
        EXPECT_EQ(boxes()[0].title, "Polygon");
        EXPECT_TRUE(boxes()[0].text.startsWith("VB-Fehler: 9\n"));
        EXPECT_EQ(boxes()[0].buttons, MsgButtons::OKCancel);
        EXPECT_EQ(boxes()[0].icon, MsgIcon::Exclamation);
    }
    EXPECT_EQ(surface.ForeColor(), 255);
}

INSTANTIATE_TEST_SUITE_P(Polygon, PolygonType, ::testing::Values(
    TypeCase{0, false, {{{10, 50}, {20, 30}}, {{20, 30}, {40, 40}}}},
    TypeCase{1, false, {{{5, 100}, {5, 50}}, {{5, 50}, {15, 50}},
                        {{20, 30}, {15, 30}}, {{20, 30}, {30, 30}}, {{15, 50}, {15, 30}},
                        {{30, 30}, {30, 40}}, {{30, 40}, {50, 40}}, {{50, 40}, {50, 100}}}},
    TypeCase{2, false, {{{5, 60}, {10, 60}}, {{10, 60}, {10, 40}},
                        {{20, 30}, {20, 40}}, {{20, 30}, {20, 35}}, {{10, 40}, {20, 40}},
                        {{20, 35}, {40, 35}}, {{40, 35}, {40, 45}}, {{40, 45}, {5, 45}}}},
    TypeCase{7, false, {{{5, 60}, {10, 60}}, {{10, 60}, {10, 40}},
                        {{20, 30}, {20, 40}}, {{20, 30}, {20, 35}}, {{10, 40}, {20, 40}},
                        {{20, 35}, {40, 35}}, {{40, 35}, {40, 45}}, {{40, 45}, {5, 45}}}},
    TypeCase{3, false, {}, 3},
    TypeCase{4, false, {{{5, 100}, {5, 50}}, {{5, 50}, {10, 50}}, {{10, 50}, {10, 30}}, {{10, 30}, {20, 30}},
                        {{20, 30}, {20, 40}}, {{20, 40}, {40, 40}}, {{40, 40}, {40, 100}}}},
    TypeCase{5, false, {{{5, 100}, {10, 100}}, {{10, 100}, {10, 50}}, {{10, 50}, {20, 50}}, {{20, 50}, {20, 30}},
                        {{20, 30}, {40, 30}}, {{40, 30}, {40, 40}}, {{40, 40}, {5, 40}}}},
    TypeCase{6, false, {{{5, 100}, {10, 50}}, {{10, 50}, {10, 30}}, {{10, 30}, {20, 30}},
                        {{20, 30}, {20, 40}}, {{20, 40}, {40, 40}}}},
    TypeCase{8, false, {{{5, 50}, {10, 50}}, {{10, 50}, {10, 40}}, {{10, 40}, {20, 40}},
                        {{20, 40}, {20, 30}}, {{20, 30}, {20, 35}}, {{20, 35}, {40, 35}},
                        {{40, 35}, {40, 40}}, {{40, 40}, {5, 40}}}},
    TypeCase{9, false, {}},
    TypeCase{-1, false, {}},
    TypeCase{0, true, {}},
    TypeCase{3, true, {}, 1},
    TypeCase{4, true, {{{5, 100}, {5, 50}}, {{5, 50}, {10, 50}}, {{10, 50}, {10, 100}}}},
    TypeCase{5, true, {{{5, 100}, {10, 100}}, {{10, 100}, {10, 50}}, {{10, 50}, {5, 50}}}},
    TypeCase{6, true, {{{5, 100}, {10, 50}}}},
    TypeCase{1, true, {}, 0, true},
    TypeCase{2, true, {}, 0, true},
    TypeCase{7, true, {}, 0, true},
    TypeCase{8, true, {}, 0, true}));

TEST_F(DrawTest, PolygonBasePointAndClipping)
{
    // Margins 10 mm all round: the inner box is (10, 10)-(114, 105).
    auto g = pageDiagram(10, 10, 10, 10);
    g->EPTYP(4);
    g->POLYGON({5}, {40});   // base point: the world window's minimum corner
    ASSERT_EQ(lines().size(), 3u);
    EXPECT_TRUE(sameSegment(lines()[0], {10, 10}, {10, 50}));
    EXPECT_TRUE(sameSegment(lines()[2], {15, 50}, {15, 10}));
    // With offsets the corner stays the corner of the box.
    g->EXMOD(2);
    g->EYMOD(3);
    g->SKALEN(0);
    surface.records.clear();
    g->POLYGON({7}, {43});   // page (17, 53)
    ASSERT_EQ(lines().size(), 3u);
    EXPECT_TRUE(sameSegment(lines()[0], {10, 10}, {10, 53}));
    EXPECT_TRUE(sameSegment(lines()[2], {17, 53}, {17, 10}));
    g->EXMOD(0);
    g->EYMOD(0);
    g->SKALEN(0);
    surface.records.clear();
    g->EPTYP(0);
    g->POLYGON({-20, 50}, {40, 40});   // cut at the inner box's left edge
    ASSERT_EQ(lines().size(), 1u);
    EXPECT_TRUE(sameSegment(lines()[0], {10, 50}, {60, 50}));
    surface.records.clear();
    g->EPTYP(3);
    g->POLYGON({0, 10, 50}, {10, 40, 120});   // on the edge, inside, outside
    const auto dots = surface.of(Recorded::Point);
    ASSERT_EQ(dots.size(), 1u);
    EXPECT_TRUE(near(dots[0].p1, {20, 50}));
}

TEST_F(DrawTest, PolygonSegmentMask)
{
    auto g = pageDiagram();
    const SingleArray x{10, 20, 30, 40}, y{10, 20, 10, 20};
    struct Case { std::vector<Variant> mask; std::vector<int> drawn; bool fails; };
    const std::vector<Case> cases = {
        {{int16_t(1), int16_t(0), int16_t(1)}, {0, 2}, false},
        {{1.0f, 1.0, int32_t(1)}, {0, 1, 2}, false},
        {{true, true, true}, {}, false},                  // Boolean True is -1, not 1
        {{Variant(), Variant(), Variant()}, {}, false},   // Empty does not count
        {{int16_t(1), int16_t(1)}, {0, 1}, true},         // too short at the third segment
    };
    for (const Case& c : cases) {
        surface.records.clear();
        project.dialogs().shown.clear();
        project.dialogs().msgAnswers = {MsgResult::OK};
        g->POLYGON(x, y, 0, 0, 0, QString(), 0, 0, false, c.mask);
        const auto l = lines();
        ASSERT_EQ(l.size(), c.drawn.size());
        for (std::size_t i = 0; i < l.size(); ++i) {
            const int k = c.drawn[i];
            EXPECT_TRUE(sameSegment(l[i], {x(k), y(k)}, {x(k + 1), y(k + 1)}));
        }
        ASSERT_EQ(boxes().size(), c.fails ? 1u : 0u);
        if (c.fails) {
            EXPECT_EQ(boxes()[0].title, "Polygon");
        }
    }
}

TEST_F(DrawTest, PolygonColourTable)
{
    auto g = pageDiagram();
    const int32_t caller = LongFromColor(QColor(10, 20, 30));
    const int palette[] = {1, 2, 3, 4, 5, 10, 9, 0};
    for (int16_t pstyp = 0; pstyp <= 8; ++pstyp) {
        surface.records.clear();
        surface.setForeColor(caller);
        g->POLYGON({10, 20}, {10, 20}, 0, pstyp, 0, QString(), 0, 0, true);
        ASSERT_EQ(lines().size(), 1u);
        const int32_t expected = pstyp <= 7 ? LongFromColor(QBColor(palette[pstyp])) : caller;
        EXPECT_EQ(lines()[0].colour, expected) << pstyp;
        EXPECT_EQ(surface.ForeColor(), caller);
    }
    // Dark red for everything the call draws: lines, marks, numbers, label, heads.
    // The caller's pen and font come back afterwards.
    surface.records.clear();
    const FontSpec callerFont{QStringLiteral("Liberation Serif"), 12.0f, true};
    surface.setFont(callerFont);
    surface.setDrawWidth(3);
    g->POLYGON({10, 30}, {10, 30}, -2, 3, 1, QStringLiteral("L"), 1, 3, true);
    const int32_t red = LongFromColor(QColor(128, 0, 0));
    EXPECT_GE(surface.records.size(), 1u + 2u + 1u + 1u + 6u);
    for (const Recorded& r : surface.records)
        EXPECT_EQ(r.colour, red) << r.kind;
    EXPECT_EQ(surface.ForeColor(), caller);
    EXPECT_EQ(surface.Font(), callerFont);
    EXPECT_EQ(surface.DrawWidth(), 3.0f);
    // Without FARBEN the table is not consulted.
    surface.records.clear();
    g->POLYGON({10, 20}, {10, 20}, 0, 3);
    EXPECT_EQ(lines()[0].colour, caller);
}

TEST_F(DrawTest, PolygonMarkSelection)
{
    auto g = pageDiagram();
    g->EPTYP(9);
    struct Case { int16_t psit; int n; std::vector<int> marked; };
    const std::vector<Case> cases = {
        {5, 11, {0, 2, 4, 6, 8, 10}}, {3, 4, {0, 2}}, {10, 3, {0, 1, 2}}, {-1, 4, {0}},
        {1, 4, {3}}, {2, 4, {0, 3}}, {2, 1, {0}}, {-2, 4, {0, 1, 2, 3}}, {-7, 3, {0, 1, 2}},
        {0, 4, {}}, {4, 7, {0, 2, 4, 6}},
    };
    for (const Case& c : cases) {
        surface.records.clear();
        std::vector<float> x, y;
        for (int i = 0; i < c.n; ++i) {
            x.push_back(float(5 + 5 * i));
            y.push_back(50);
        }
        g->POLYGON(x, y, c.psit, 4);   // open circles: one record per mark
        const auto marks = surface.of(Recorded::Circle);
        ASSERT_EQ(marks.size(), c.marked.size()) << c.psit << " on " << c.n;
        for (std::size_t i = 0; i < marks.size(); ++i)
            EXPECT_TRUE(near(marks[i].p1, {5.0 + 5 * c.marked[i], 50})) << c.psit << " on " << c.n;
    }
}

TEST_F(DrawTest, PolygonMarkShapes)
{
    auto g = pageDiagram(10, 10, 10, 10);
    g->EPTYP(9);
    struct Case { int16_t shape; Recorded::Kind kind; std::size_t count; };
    for (const Case& c : {Case{0, Recorded::Line, 4}, Case{1, Recorded::FilledBox, 1}, Case{2, Recorded::Box, 1},
                          Case{3, Recorded::Circle, 1}, Case{4, Recorded::Circle, 1}, Case{5, Recorded::Line, 3},
                          Case{6, Recorded::Line, 6}, Case{7, Recorded::Line, 0}}) {
        surface.records.clear();
        g->POLYGON({20}, {30}, -1, c.shape);   // page (30, 40)
        EXPECT_EQ(surface.records.size(), c.count) << c.shape;
        EXPECT_EQ(surface.of(c.kind).size(), c.count) << c.shape;
    }
    // The filled circle: solid fill in the line colour, then transparent and white.
    surface.records.clear();
    surface.setForeColor(255);
    g->POLYGON({20}, {30}, -1, 3);
    const auto dot = surface.of(Recorded::Circle);
    ASSERT_EQ(dot.size(), 1u);
    EXPECT_EQ(dot[0].fillStyle, 0);
    EXPECT_EQ(dot[0].fillColor, 255);
    EXPECT_NEAR(dot[0].radius, 0.7, 1e-9);
    EXPECT_EQ(surface.FillStyle(), 1);
    EXPECT_EQ(surface.FillColor(), 0xFFFFFF);
    // A cross on the inner box's corner is drawn whole (marks are not clipped); a
    // point outside gets no mark.
    surface.records.clear();
    g->POLYGON({0, 120}, {0, 50}, 2, 0);
    const auto cross = lines();
    ASSERT_EQ(cross.size(), 4u);
    EXPECT_TRUE(near(cross[0].p1, {10, 10}) || near(cross[0].p2, {10, 10}));
    EXPECT_TRUE(near(cross[0].p1, {9.25, 9.25}) || near(cross[0].p2, {9.25, 9.25}));
}

TEST_F(DrawTest, PolygonPointNumbers)
{
    auto g = pageDiagram();
    g->EPTYP(9);
    const SingleArray x{10, 20, 30, 40, 50}, y{50, 50, 50, 50, 60};
    g->POLYGON(x, y, 0, 0, 1);
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_EQ(texts()[0].text, "4");
    EXPECT_TRUE(near(texts()[0].p1, {51, 59}));   // top left 1 mm right of and above the point
    surface.records.clear();
    g->POLYGON(x, y, 0, 0, -3);
    ASSERT_EQ(texts().size(), 5u);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(texts()[std::size_t(i)].text, QString::number(i));
}

TEST_F(DrawTest, PolygonLabelPlaces)
{
    // Five points on a horizontal line, so every label is upright; "AB" is 1 mm wide
    // and 3.15 mm high on the recording surface.
    auto g = pageDiagram();
    g->EPTYP(9);
    const SingleArray x{10, 20, 30, 40, 50}, y{60, 60, 60, 60, 60};
    const double W = 1.0, H = 3.15;
    struct Case { int16_t place; double ax, ay; int arx, ary; };
    const std::vector<Case> cases = {
        {0, 45, 60, 1, 2}, {1, 50, 60, 1, 2}, {2, 50, 60, 1, 0}, {3, 52, 60, 0, 1}, {4, 48, 60, 2, 1},
        {5, 15, 60, 1, 2}, {6, 10, 60, 1, 2}, {7, 10, 60, 1, 0}, {8, 12, 60, 0, 1}, {9, 8, 60, 2, 1},
        {10, 35, 60, 1, 2}, {11, 48, 60, 2, 0}, {12, 48, 60, 2, 2}, {13, 52, 60, 0, 0}, {14, 52, 60, 0, 2},
    };
    for (const Case& c : cases) {
        surface.records.clear();
        g->POLYGON(x, y, 0, 0, 0, QStringLiteral("AB"), c.place);
        ASSERT_EQ(texts().size(), 1u) << c.place;
        EXPECT_TRUE(near(texts()[0].p1, {c.ax - c.arx * W / 2, c.ay - c.ary * H / 2}))
            << c.place << ": " << texts()[0].p1.x() << "," << texts()[0].p1.y();
    }
    surface.records.clear();
    g->POLYGON(x, y, 0, 0, 0, QStringLiteral("AB"), 15);
    EXPECT_TRUE(surface.records.empty());
    // Place 10 on four points: the segment from point 1 to point 2.
    g->POLYGON({10, 20, 30, 40}, {60, 60, 60, 60}, 0, 0, 0, QStringLiteral("AB"), 10);
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_NEAR(texts()[0].p1.x(), 25 - W / 2, 1e-3);
    // Segment anchors need two points; the point anchors do not.
    surface.records.clear();
    g->POLYGON({30}, {60}, 0, 0, 0, QStringLiteral("AB"), 0);
    EXPECT_TRUE(surface.records.empty());
    g->POLYGON({30}, {60}, 0, 0, 0, QStringLiteral("AB"), 1);
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_TRUE(near(texts()[0].p1, {30 - W / 2, 60 - H}));
}

TEST_F(DrawTest, PolygonLabelAngleAndExponent)
{
    auto g = pageDiagram();
    g->EPTYP(9);
    struct Case { float x1, y1, x2, y2; double angle; };
    for (const Case& c : {Case{40, 60, 40, 30, 90}, Case{40, 30, 40, 60, 90}, Case{30, 60, 60, 30, 45},
                          Case{60, 30, 30, 60, 45}, Case{30, 30, 60, 60, -45}}) {
        surface.records.clear();
        g->POLYGON({c.x1, c.x2}, {c.y1, c.y2}, 0, 0, 0, QStringLiteral("AB"), 0);
        const auto turned = surface.of(Recorded::RotatedText);
        ASSERT_EQ(turned.size(), 1u);
        EXPECT_DOUBLE_EQ(turned[0].angle, c.angle);
    }
    // A label variable in exponent notation comes back rewritten.
    QString label = QStringLiteral("2,5E+03");
    g->POLYGON({30, 60}, {60, 60}, 0, 0, 0, label, 1);
    EXPECT_EQ(label, "2,5*10{h,3}+03");
}

TEST_F(DrawTest, PolygonArrowHeads)
{
    auto g = pageDiagram();
    g->EPTYP(9);
    const SingleArray x{10, 30, 50}, y{50, 50, 70};
    const QPointF P[] = {{10, 50}, {30, 50}, {50, 70}};
    struct Case { int16_t kind; std::vector<int> tips; };
    for (const Case& c : {Case{0, {}}, Case{1, {2}}, Case{2, {0}}, Case{3, {2, 0}}, Case{4, {1, 2}},
                          Case{5, {0, 1}}, Case{6, {1, 0, 2, 1}}, Case{7, {}}}) {
        surface.records.clear();
        g->POLYGON(x, y, 0, 0, 0, QString(), 0, c.kind);
        const auto l = lines();
        ASSERT_EQ(l.size(), 3 * c.tips.size()) << c.kind;
        for (std::size_t h = 0; h < c.tips.size(); ++h) {
            const QPointF tip = P[c.tips[h]];
            EXPECT_TRUE(near(l[3 * h].p1, tip) || near(l[3 * h].p2, tip)) << c.kind << " head " << h;
        }
    }
    // Both ends of a two-point line, pointing outward; nothing on one point.
    surface.records.clear();
    g->POLYGON({10, 30}, {50, 50}, 0, 0, 0, QString(), 0, 3);
    const auto l = lines();
    ASSERT_EQ(l.size(), 6u);
    EXPECT_LT(std::min(l[2].p1.x(), l[2].p2.x()), 30.0);   // barbs behind the tip at 30
    EXPECT_GT(std::max(l[5].p1.x(), l[5].p2.x()), 10.0);   // and behind the tip at 10
    surface.records.clear();
    g->POLYGON({10}, {50}, 0, 0, 0, QString(), 0, 3);
    EXPECT_TRUE(surface.records.empty());
}

TEST_F(DrawTest, PolygonLogarithmsOnACopy)
{
    activeRecord(1);
    row(1, 11, "OX, OY, RL, RR, RO, RU, XMIN, XMAX, YMIN, YMAX, MX, MY", "1, -1, 0, 0, 0, 0, -2, 2, 0, 100, 0.1, 1");
    auto g = diagram();
    loadLayout(*g);
    g->ESKTX(1);
    const SingleArray x{0.1f, 1, 10}, y{50, 50, 60};
    for (int pass = 0; pass < 2; ++pass) {
        surface.records.clear();
        g->POLYGON(x, y);
        const auto l = lines();
        ASSERT_EQ(l.size(), 2u);
        EXPECT_TRUE(sameSegment(l[0], {10, 50}, {20, 50}, 1e-3)) << pass;
        EXPECT_TRUE(sameSegment(l[1], {20, 50}, {30, 60}, 1e-3)) << pass;
    }
    EXPECT_FLOAT_EQ(x(0), 0.1f);   // the caller's points stay as they were
}

TEST_F(DrawTest, PolygonFailures)
{
    auto g = pageDiagram();
    surface.setForeColor(255);
    struct Case { const char* name; SingleArray x, y; int32_t number; };
    const std::vector<Case> cases = {
        {"Y too short", {10, 20, 30}, {10, 20}, 9},
        {"uninitialised", {}, {}, 9},
        {"lower bound above 0", SingleArray({10, 20}, 1), SingleArray({10, 20}, 1), 9},
        {"too many points", std::vector<float>(32768, 1.0f), std::vector<float>(32768, 1.0f), 6},
    };
    for (const Case& c : cases) {
        surface.records.clear();
        project.dialogs().shown.clear();
        project.dialogs().msgAnswers = {MsgResult::Cancel};
        g->POLYGON(c.x, c.y, 0, 3, 0, QString(), 0, 0, true);   // dark red until the failure
        ASSERT_EQ(boxes().size(), 1u) << c.name;
        EXPECT_EQ(boxes()[0].title, "Polygon");
        EXPECT_TRUE(boxes()[0].text.startsWith(QStringLiteral("VB-Fehler: %1\n").arg(c.number))) << c.name;
        EXPECT_TRUE(lines().empty()) << c.name;
        EXPECT_EQ(surface.ForeColor(), 255) << c.name;   // restored after Cancel too
    }
    // With OK the call goes on with the points before the one that failed; nothing
    // is drawn to a point that was never read.
    surface.records.clear();
    project.dialogs().msgAnswers = {MsgResult::OK};
    g->POLYGON({10, 20, 30}, {10, 20}, 0, 0, 0, QString(), 0, 1);
    ASSERT_EQ(lines().size(), 4u);
    EXPECT_TRUE(sameSegment(lines()[0], {10, 10}, {20, 20}));
    EXPECT_TRUE(near(lines()[1].p1, {20, 20}) || near(lines()[1].p2, {20, 20}));   // the head at the last good point
    EXPECT_EQ(surface.ForeColor(), 255);
}
