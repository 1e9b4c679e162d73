#include "PolylineStrokes.h"
#include "platform/VbError.h"
#include <array>
#include <functional>

namespace {

using Ends = std::array<float, 4>;
using Kind = PolylineStroke::Kind;

float element(const std::vector<float>& v, int i)
{
    if (i < 0 || i >= int(v.size()))
        throw VbError(VbErr::Subscript);
    return v[std::size_t(i)];
}

// Collects strokes; a stroke whose ends read outside the points is out of range, and
// the strokes after it still come.
class Strokes {
public:
    void line(const std::function<Ends()>& ends)
    {
        try {
            const Ends e = ends();
            out_.push_back({Kind::Line, e[0], e[1], e[2], e[3]});
        } catch (const VbError&) {
            outOfRange();
        }
    }
    void dot(float x, float y) { out_.push_back({Kind::Dot, x, y, x, y}); }
    void outOfRange() { out_.push_back({Kind::OutOfRange}); }
    std::vector<PolylineStroke> take() { return std::move(out_); }

private:
    std::vector<PolylineStroke> out_;
};

// The polyline through the points, segment i - 1 to i where the mask allows it.
void polyline(Strokes& s, const PolylinePoints& P, const std::optional<std::vector<Variant>>& BOL)
{
    for (int i = 1; i <= P.n() - 1; ++i) {
        if (BOL) {
            if (i - 1 >= int(BOL->size())) {
                s.outOfRange();
                continue;
            }
            const Variant& m = (*BOL)[std::size_t(i - 1)];
            if (!(m.isNumber() && CDbl(m) == 1.0))
                continue;
        }
        s.line([&] { return Ends{P.x(i - 1), P.y(i - 1), P.x(i), P.y(i)}; });
    }
}

// Bars centred on the points along u with their tops at v, standing on the base point's
// v; to page: (u, v) along x, (v, u) along y. A bar reaches halfway to its neighbours.
void bars(Strokes& s, const PolylinePoints& P, bool alongX)
{
    const int n = P.n();
    const auto u = [&](int i) { return alongX ? P.x(i) : P.y(i); };
    const auto v = [&](int i) { return alongX ? P.y(i) : P.x(i); };
    const auto mu = [&](int i) { return (u(i) + u(i + 1)) / 2.0f; };
    const float vA = alongX ? P.YA : P.XA;
    const auto stroke = [&](const std::function<Ends()>& uv) {
        s.line([&] {
            const Ends e = uv();
            return alongX ? e : Ends{e[1], e[0], e[3], e[2]};
        });
    };
    const float uL = u(0) - (u(1) - u(0)) / 2.0f;
    const float uR = u(n - 1) + (u(n - 1) - u(n - 2)) / 2.0f;
    stroke([&] { return Ends{uL, vA, uL, v(0)}; });
    stroke([&] { return Ends{uL, v(0), mu(0), v(0)}; });
    for (int i = 1; i < n - 1; ++i) {
        stroke([&] { return Ends{u(i), v(i), mu(i - 1), v(i)}; });
        stroke([&] { return Ends{u(i), v(i), mu(i), v(i)}; });
        stroke([&] { return Ends{mu(i - 1), v(i - 1), mu(i - 1), v(i)}; });
    }
    stroke([&] { return Ends{mu(n - 2), v(n - 2), mu(n - 2), v(n - 1)}; });
    stroke([&] { return Ends{mu(n - 2), v(n - 1), uR, v(n - 1)}; });
    stroke([&] { return Ends{uR, v(n - 1), uR, vA}; });
}

void dots(Strokes& s, const PolylinePoints& P)
{
    for (int i = 0; i < P.n(); ++i)
        s.dot(P.x(i), P.y(i));
}

// The steps between the points, vertical first.
void stairs(Strokes& s, const PolylinePoints& P)
{
    for (int i = 0; i <= P.n() - 2; ++i) {
        s.line([&] { return Ends{P.x(i), P.y(i), P.x(i), P.y(i + 1)}; });
        s.line([&] { return Ends{P.x(i), P.y(i + 1), P.x(i + 1), P.y(i + 1)}; });
    }
}

// Up from the base point to the first point's height, across to it, the steps, and down
// from the last point to the base point's height.
void staircaseRising(Strokes& s, const PolylinePoints& P)
{
    const int n = P.n();
    s.line([&] { return Ends{P.XA, P.YA, P.XA, P.y(0)}; });
    s.line([&] { return Ends{P.XA, P.y(0), P.x(0), P.y(0)}; });
    stairs(s, P);
    s.line([&] { return Ends{P.x(n - 1), P.y(n - 1), P.x(n - 1), P.YA}; });
}

// Across from the base point, up to the first point, the steps horizontal first, and
// back across from the last point to the base point's x.
void staircaseAcross(Strokes& s, const PolylinePoints& P)
{
    const int n = P.n();
    s.line([&] { return Ends{P.XA, P.YA, P.x(0), P.YA}; });
    s.line([&] { return Ends{P.x(0), P.YA, P.x(0), P.y(0)}; });
    for (int i = 0; i <= n - 2; ++i) {
        s.line([&] { return Ends{P.x(i), P.y(i), P.x(i + 1), P.y(i)}; });
        s.line([&] { return Ends{P.x(i + 1), P.y(i), P.x(i + 1), P.y(i + 1)}; });
    }
    s.line([&] { return Ends{P.x(n - 1), P.y(n - 1), P.XA, P.y(n - 1)}; });
}

// From the base point straight to the first point, then the steps.
void staircaseFromBase(Strokes& s, const PolylinePoints& P)
{
    s.line([&] { return Ends{P.XA, P.YA, P.x(0), P.y(0)}; });
    stairs(s, P);
}

// Steps whose risers stand at the points and whose treads lie halfway between the
// heights of neighbouring points, from and back to the base point's x.
void stepsAtMiddles(Strokes& s, const PolylinePoints& P)
{
    const int n = P.n();
    const auto my = [&](int i) { return (P.y(i) + P.y(i + 1)) / 2.0f; };
    s.line([&] { return Ends{P.XA, P.y(0), P.x(0), P.y(0)}; });
    s.line([&] { return Ends{P.x(0), P.y(0), P.x(0), my(0)}; });
    s.line([&] { return Ends{P.x(0), my(0), P.x(1), my(0)}; });
    for (int i = 1; i < n - 1; ++i) {
        s.line([&] { return Ends{P.x(i), my(i - 1), P.x(i), P.y(i)}; });
        s.line([&] { return Ends{P.x(i), P.y(i), P.x(i), my(i)}; });
        s.line([&] { return Ends{P.x(i), my(i), P.x(i + 1), my(i)}; });
    }
    s.line([&] { return Ends{P.x(n - 1), my(n - 2), P.x(n - 1), P.y(n - 1)}; });
    s.line([&] { return Ends{P.x(n - 1), P.y(n - 1), P.XA, P.y(n - 1)}; });
}

} // namespace

float PolylinePoints::x(int i) const
{
    return element(XP, i);
}

float PolylinePoints::y(int i) const
{
    return element(YP, i);
}

bool ClosesToBasePoint(int16_t EPTYP)
{
    return EPTYP >= 1 && EPTYP <= 8 && EPTYP != 3;
}

std::vector<PolylineStroke> PolylineStrokes(int16_t EPTYP, const PolylinePoints& P,
                                            const std::optional<std::vector<Variant>>& BOL)
{
    Strokes s;
    const bool twoPoints = P.n() >= 2;
    switch (EPTYP) {
    case 0: polyline(s, P, BOL); break;
    case 1:
    case 2:
    case 7:
        if (twoPoints)
            bars(s, P, EPTYP == 1);
        else
            s.outOfRange();
        break;
    case 3: dots(s, P); break;
    case 4: staircaseRising(s, P); break;
    case 5: staircaseAcross(s, P); break;
    case 6: staircaseFromBase(s, P); break;
    case 8:
        if (twoPoints)
            stepsAtMiddles(s, P);
        else
            s.outOfRange();
        break;
    default: break;
    }
    return s.take();
}
