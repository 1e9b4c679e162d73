// The strokes of each drawing type of a polyline, on page points without a surface:
// their order and direction, the segment mask, and the strokes that read points that
// are not there.
#include "draw/PolylineStrokes.h"
#include <gtest/gtest.h>
#include <ostream>

void PrintTo(const PolylineStroke& s, std::ostream* os)
{
    const char* kinds[] = {"line", "dot", "out of range"};
    *os << kinds[int(s.kind)] << " (" << s.x1 << ", " << s.y1 << ")-(" << s.x2 << ", " << s.y2 << ")";
}

namespace {

using Kind = PolylineStroke::Kind;

PolylineStroke L(float x1, float y1, float x2, float y2)
{
    return {Kind::Line, x1, y1, x2, y2};
}

PolylineStroke D(float x, float y)
{
    return {Kind::Dot, x, y, x, y};
}

const PolylineStroke Out{Kind::OutOfRange};

// Three points and the base point (5, 100).
PolylinePoints Points(std::vector<float> x, std::vector<float> y)
{
    PolylinePoints P;
    P.XP = std::move(x);
    P.YP = std::move(y);
    P.XA = 5;
    P.YA = 100;
    return P;
}
const PolylinePoints Three = Points({10, 20, 40}, {50, 30, 40});
const PolylinePoints One = Points({10}, {50});
const PolylinePoints None = Points({}, {});

// Bars along y: centred on the points' heights, from the base point's x.
const std::vector<PolylineStroke> BarsAlongY = {
    L(5, 60, 10, 60), L(10, 60, 10, 40), L(20, 30, 20, 40), L(20, 30, 20, 35),
    L(10, 40, 20, 40), L(20, 35, 40, 35), L(40, 35, 40, 45), L(40, 45, 5, 45)};

struct Case {
    const char* what;
    int16_t type;
    PolylinePoints points;
    std::optional<std::vector<Variant>> mask;
    std::vector<PolylineStroke> strokes;
};

} // namespace

TEST(PolylineStrokes, ByDrawingType)
{
    const Case cases[] = {
        {"polyline", 0, Three, std::nullopt, {L(10, 50, 20, 30), L(20, 30, 40, 40)}},
        {"mask: only the number 1 draws", 0, Three, std::vector<Variant>{Variant("1"), Variant(1)},
         {L(20, 30, 40, 40)}},
        {"mask too short: each missing element is a stroke out of range", 0, Three, std::vector<Variant>{},
         {Out, Out}},
        {"bars along x", 1, Three, std::nullopt,
         {L(5, 100, 5, 50), L(5, 50, 15, 50), L(20, 30, 15, 30), L(20, 30, 30, 30), L(15, 50, 15, 30),
          L(30, 30, 30, 40), L(30, 40, 50, 40), L(50, 40, 50, 100)}},
        {"bars along y", 2, Three, std::nullopt, BarsAlongY},
        {"bars along y (7)", 7, Three, std::nullopt, BarsAlongY},
        {"dots", 3, Three, std::nullopt, {D(10, 50), D(20, 30), D(40, 40)}},
        {"staircase rising first", 4, Three, std::nullopt,
         {L(5, 100, 5, 50), L(5, 50, 10, 50), L(10, 50, 10, 30), L(10, 30, 20, 30), L(20, 30, 20, 40),
          L(20, 40, 40, 40), L(40, 40, 40, 100)}},
        {"staircase across first", 5, Three, std::nullopt,
         {L(5, 100, 10, 100), L(10, 100, 10, 50), L(10, 50, 20, 50), L(20, 50, 20, 30), L(20, 30, 40, 30),
          L(40, 30, 40, 40), L(40, 40, 5, 40)}},
        {"staircase from the base point", 6, Three, std::nullopt,
         {L(5, 100, 10, 50), L(10, 50, 10, 30), L(10, 30, 20, 30), L(20, 30, 20, 40), L(20, 40, 40, 40)}},
        {"steps at the middles", 8, Three, std::nullopt,
         {L(5, 50, 10, 50), L(10, 50, 10, 40), L(10, 40, 20, 40), L(20, 40, 20, 30), L(20, 30, 20, 35),
          L(20, 35, 40, 35), L(40, 35, 40, 40), L(40, 40, 5, 40)}},
        {"bars of one point", 1, One, std::nullopt, {Out}},
        {"steps of one point", 8, One, std::nullopt, {Out}},
        {"staircase of one point", 4, One, std::nullopt, {L(5, 100, 5, 50), L(5, 50, 10, 50), L(10, 50, 10, 100)}},
        {"staircase of no point", 4, None, std::nullopt, {Out, Out, Out}},
        {"staircase from the base point, no point", 6, None, std::nullopt, {Out}},
        {"unknown type", 9, Three, std::nullopt, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(PolylineStrokes(c.type, c.points, c.mask), c.strokes);
    }
}
