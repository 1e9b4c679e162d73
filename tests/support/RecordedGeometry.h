#pragma once
// Comparing what a recording surface recorded with expected page points (mm).
#include "platform/RecordingSurface.h"
#include <QPointF>
#include <cmath>

inline bool near(QPointF a, QPointF b, double tol = 1e-3)
{
    return std::abs(a.x() - b.x()) <= tol && std::abs(a.y() - b.y()) <= tol;
}

// A segment with one of its ends at p.
inline bool touches(const Recorded& r, QPointF p, double tol = 1e-3)
{
    return near(r.p1, p, tol) || near(r.p2, p, tol);
}

inline double segmentLength(const Recorded& r)
{
    return std::hypot(r.p2.x() - r.p1.x(), r.p2.y() - r.p1.y());
}

// A segment drawn from a to b or from b to a.
inline bool sameSegment(const Recorded& r, QPointF a, QPointF b, double tol = 1e-3)
{
    return (near(r.p1, a, tol) && near(r.p2, b, tol)) || (near(r.p1, b, tol) && near(r.p2, a, tol));
}
