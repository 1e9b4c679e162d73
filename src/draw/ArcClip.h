#pragma once
// Cutting a circle at a rectangle (page mm, y down; page angles in radians turn
// clockwise as seen): the crossings with the four edges, the pieces of the circle
// inside the rectangle, and the parts of an arc that lie in a piece. The arc runs
// from H1 toward decreasing page angle to H2.
#include <array>
#include <cstdint>
#include <vector>

// The y values where the circle about (cx, cy) with radius r meets the line x = s,
// smaller first; found False (pair untouched) when it misses. A tangent counts.
void SCHNITTSENKRECHT(float cx, float cy, float r, float s, std::array<float, 2>& pair, bool& found);
// The x values where the circle meets the line y = s, smaller first.
void SCHNITTWAAGRECHT(float cx, float cy, float r, float s, std::array<float, 2>& pair, bool& found);

struct ArcCrossing {
    float x = 0, y = 0;
    int16_t code = 0;   // edge of a single crossing: left 0, bottom 1, right 2, top 3; pairs 0
};

struct ArcCrossings {
    std::vector<ArcCrossing> points;   // in the order of a walk left, bottom, right, top
    int pairs = 0;                     // edges crossed twice
    bool pairFirst = false;            // the first point stored belongs to a pair
};

// A piece of circle, or a part of an arc, from page angle start down to end.
struct ArcSpan {
    float start = 0, end = 0;
    bool operator==(const ArcSpan&) const = default;
};

// The crossings of the circle with the rectangle XL < XR, YO < YU (YO the upper edge).
ArcCrossings ArcBoxCrossings(float XMP, float YMP, float RP, float XL, float XR, float YO, float YU);
// The pieces of the circle inside the rectangle, from an even number of crossings.
std::vector<ArcSpan> ArcPieces(const ArcCrossings& c, float XMP, float YMP);
// The parts of the arc H1 -> H2 inside the piece (none, one or two), in drawing order.
std::vector<ArcSpan> ArcOverlap(const ArcSpan& piece, float H1, float H2);
