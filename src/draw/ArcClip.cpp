#include "ArcClip.h"
#include "DrawMath.h"
#include <cmath>

namespace {

constexpr float kTwoPi = 2.0f * DrawConst::PI;

// The line solvers share one form: the roots of t^2 + 2at + g = 0 with a = -centre
// along the line, g = offset^2 + centre^2 - r^2.
void solve(float along, float offset, float r, std::array<float, 2>& pair, bool& found)
{
    const float a = -along;
    const float g = CheckedSng((double(offset) * offset + double(along) * along) - double(r) * r);
    const double disc = double(a) * a - g;
    if (disc < 0.0) {
        found = false;
        return;
    }
    const float w = CheckedSng(std::sqrt(disc));
    pair = {-a - w, -a + w};
    found = true;
}

} // namespace

void SCHNITTSENKRECHT(float cx, float cy, float r, float s, std::array<float, 2>& pair, bool& found)
{
    solve(cy, CheckedSng(double(s) - cx), r, pair, found);
}

void SCHNITTWAAGRECHT(float cx, float cy, float r, float s, std::array<float, 2>& pair, bool& found)
{
    solve(cx, CheckedSng(double(s) - cy), r, pair, found);
}

ArcCrossings ArcBoxCrossings(float XMP, float YMP, float RP, float XL, float XR, float YO, float YU)
{
    struct Edge {
        int16_t code;
        bool vertical;
        float at, lo, hi;
        bool beyond;        // the centre lies outside the rectangle across this edge
        bool reversed;      // a pair is stored larger value first
    };
    const Edge edges[] = {
        {0, true, XL, YO, YU, XMP < XL, false},
        {1, false, YU, XL, XR, YMP > YU, false},
        {2, true, XR, YO, YU, XMP > XR, true},
        {3, false, YO, XL, XR, YMP < YO, true},
    };
    ArcCrossings c;
    for (const Edge& e : edges) {
        std::array<float, 2> p{};
        bool found = false;
        if (e.vertical)
            SCHNITTSENKRECHT(XMP, YMP, RP, e.at, p, found);
        else
            SCHNITTWAAGRECHT(XMP, YMP, RP, e.at, p, found);
        if (!found)
            continue;
        const float p0 = p[0], p1 = p[1];
        if (!((p0 > e.lo || p1 > e.lo) && (p0 >= e.lo || p1 <= e.hi) && (p0 < e.hi || p1 < e.hi)))
            continue;
        const auto store = [&](float v, int16_t code) {
            c.points.push_back(e.vertical ? ArcCrossing{e.at, v, code} : ArcCrossing{v, e.at, code});
        };
        if (p0 < e.lo && p1 > e.lo) {
            store(p1, e.code);
        } else if (p0 >= e.lo && p1 > e.hi) {
            store(p0, e.code);
        } else if ((p0 > e.lo && p1 < e.hi) || (p0 == e.lo && p1 == e.hi && e.beyond)) {
            if (c.points.empty())
                c.pairFirst = true;
            store(e.reversed ? p1 : p0, 0);
            store(e.reversed ? p0 : p1, 0);
            ++c.pairs;
        }
    }
    return c;
}

std::vector<ArcSpan> ArcPieces(const ArcCrossings& c, float XMP, float YMP)
{
    const int n = int(c.points.size());
    std::vector<float> angle;
    for (const ArcCrossing& p : c.points)
        angle.push_back(STRECKENWINKEL(XMP, YMP, p.x, p.y));
    std::vector<ArcSpan> pieces;
    if (n < 2)
        return pieces;
    if (c.pairs >= 1) {
        for (int i = 0; i <= n - 2; i += 2) {
            if (c.pairFirst)
                pieces.push_back({angle[i + 1], angle[i == n - 2 ? 0 : i + 2]});
            else
                pieces.push_back({angle[i], angle[i + 1]});
        }
        return pieces;
    }
    const ArcCrossing& a = c.points[0];
    const ArcCrossing& b = c.points[1];
    bool forward = false;
    switch (a.code * 10 + b.code) {
    case 1: forward = YMP < a.y; break;     // left, bottom
    case 2: forward = YMP < a.y; break;     // left, right
    case 3: forward = XMP < b.x; break;     // left, top
    case 12: forward = XMP < a.x; break;    // bottom, right
    case 13: forward = XMP < a.x; break;    // bottom, top
    case 23: forward = YMP > a.y; break;    // right, top
    default: break;
    }
    pieces.push_back(forward ? ArcSpan{angle[0], angle[1]} : ArcSpan{angle[1], angle[0]});
    return pieces;
}

std::vector<ArcSpan> ArcOverlap(const ArcSpan& piece, float H1, float H2)
{
    const float B = piece.start, E = piece.end;
    // Both the piece and the arc run down from their start; one that passes 0 gets
    // its end lowered below 0, and values above the common limit U are lowered too.
    const bool lowE = E > B;
    const bool lowH2 = H2 > H1;
    float E1 = lowE ? E - kTwoPi : E;
    float H21 = lowH2 ? H2 - kTwoPi : H2;
    const float m = MINWERT(E1, H21);
    const float U = m < 0.0f ? kTwoPi + m : kTwoPi + DrawConst::DEG;
    const float B1 = B > U ? B - kTwoPi : B;
    const float H11 = H1 > U ? H1 - kTwoPi : H1;
    if (!lowE)
        E1 = E > U ? E - kTwoPi : E;
    if (!lowH2)
        H21 = H2 > U ? H2 - kTwoPi : H2;
    if (!((B1 < H11 || E1 < H11) && (B1 > H21 || E1 > H21)))
        return {};
    if (B1 >= H11 && E1 <= H21) {
        if (H11 > H21)
            return {{H1, H2}};
        return {{B, H2}, {H1, E}};
    }
    if (B1 <= H11 && E1 >= H21)
        return {{B, E}};
    if (B1 <= H11 && E1 <= H21)
        return {{B, H2}};
    return {{H1, E}};
}
