#pragma once
// The strokes of a polyline by its drawing type, computed on its page points without
// a surface: what POLYGON draws before its marks, numbers, label and arrow heads.
#include "platform/Variant.h"
#include <cstdint>
#include <optional>
#include <vector>

// The page points of a polyline (mm) and the base point that the types closing to it
// return to.
struct PolylinePoints {
    std::vector<float> XP, YP;
    float XA = 0, YA = 0;
    int n() const { return int(XP.size()); }
    // Point i; outside the list error 9.
    float x(int i) const;
    float y(int i) const;
};

// One stroke in drawing order: a segment from (x1, y1) to (x2, y2), a dot at (x1, y1),
// or a stroke that reads a point or a mask element that is not there (error 9 when drawn).
struct PolylineStroke {
    enum class Kind { Line, Dot, OutOfRange };
    Kind kind = Kind::Line;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool operator==(const PolylineStroke&) const = default;
};

// True for the types that close to the base point: bars and staircases.
bool ClosesToBasePoint(int16_t EPTYP);

// The strokes of drawing type EPTYP: 0 the polyline (with BOL, segment i only where
// element i is the number 1), 1 bars centred on the points along x and standing on the
// base point's height, 2 and 7 the same along y from the base point's x, 3 dots, 4 a
// staircase rising first, 5 one going across first, 6 one from the base point, 8 steps
// rising at the points; any other type nothing. Bars and the steps of type 8 need two
// points: with fewer they are one stroke out of range.
std::vector<PolylineStroke> PolylineStrokes(int16_t EPTYP, const PolylinePoints& P,
                                            const std::optional<std::vector<Variant>>& BOL = std::nullopt);
