#include "Geometry.h"
#include "SingleMath.h"
#include <algorithm>
#include <cmath>
#include <queue>

float RICHTUNGSWINKEL(float Z1, float X1, float Z2, float X2)
{
    const float A = CheckedSng(static_cast<double>(Z2) - Z1);
    const float B = CheckedSng(static_cast<double>(X1) - X2);
    if (A == 0 && B == 0)
        return 0;
    if (A == 0)
        return B > 0 ? Angle::PI_2 : Angle::PI3_2;
    if (B == 0)
        return A > 0 ? 0 : Angle::PI;
    double w = std::atan(static_cast<double>(B) / A);
    if (A > 0 && B < 0)
        w += Angle::PI2;
    else if (A < 0)
        w += Angle::PI;
    return static_cast<float>(w);
}

float XAtDepth(float x0, float z0, float x1, float z1, float z)
{
    const double slope = CheckedDiv(static_cast<double>(x1) - x0, static_cast<double>(z1) - z0);
    return CheckedSng(slope * (static_cast<double>(z) - z0) + x0);
}

void INTERPOLIEREN(const std::vector<float>& P, std::vector<float>& Q,
                   const std::vector<float>& R, const std::vector<float>& S)
{
    Q.assign(P.size(), 0.0f);
    // The depths are met in ascending order while going down the outline's descending
    // segments, each open from its upper point to just above its lower one: of those
    // open at a depth, the last in the outline decides. A depth that is no number meets
    // none. Sorting keeps the cost near the sum of both lengths, not their product.
    std::vector<std::size_t> depths;
    depths.reserve(P.size());
    for (std::size_t i = 0; i < P.size(); ++i)
        if (!std::isnan(P[i]))
            depths.push_back(i);
    std::stable_sort(depths.begin(), depths.end(), [&](std::size_t a, std::size_t b) { return P[a] < P[b]; });
    std::vector<std::size_t> segments;
    for (std::size_t j = 0; j + 1 < R.size(); ++j)
        if (R[j] < R[j + 1])
            segments.push_back(j);
    std::stable_sort(segments.begin(), segments.end(), [&](std::size_t a, std::size_t b) { return R[a] < R[b]; });
    std::priority_queue<std::size_t> open;   // the last segment on top
    std::size_t next = 0;
    for (const std::size_t i : depths) {
        while (next < segments.size() && R[segments[next]] <= P[i])
            open.push(segments[next++]);
        // A segment whose lower point the depths have reached stays closed.
        while (!open.empty() && !(P[i] < R[open.top() + 1]))
            open.pop();
        if (open.empty())
            continue;
        const std::size_t j = open.top();
        CheckSubscript(static_cast<std::ptrdiff_t>(j + 1), S.size());
        Q[i] = XAtDepth(S[j], R[j], S[j + 1], R[j + 1], P[i]);
    }
}

namespace {

// p·f(a)/g(a): the product first, then the quotient, rounded to Single once.
float Ratio(float p, double num, double den)
{
    return SngDiv(static_cast<double>(p) * num, den);
}

// Components at one end of a segment, left side.
void LeftComponents(float a, float p, bool& horizontal, float& WH, float& WV)
{
    const double s = std::sin(static_cast<double>(a));
    const double c = std::cos(static_cast<double>(a));
    if (a <= Angle::PI_4) {
        horizontal = false;
        WH = -p;
        WV = Ratio(p, s, c);
    } else if (a < Angle::PI3_4) {
        horizontal = true;
        WH = -Ratio(p, c, s);
        WV = p;
    } else if (a <= Angle::PI5_4) {
        horizontal = false;
        WH = p;
        WV = -Ratio(p, s, c);
    } else if (a < Angle::PI7_4) {
        horizontal = true;
        WH = Ratio(p, c, s);
        WV = -p;
    } else {
        horizontal = false;
        WH = -p;
        WV = Ratio(p, s, c);
    }
}

}

SegmentComponents SectorComponents(float a, float p1, float p2, int16_t side)
{
    SegmentComponents r;
    LeftComponents(a, p1, r.horizontal, r.WH1, r.WV1);
    LeftComponents(a, p2, r.horizontal, r.WH2, r.WV2);
    if (side == RightSide) {
        r.WH1 = -r.WH1;
        r.WV1 = -r.WV1;
        r.WH2 = -r.WH2;
        r.WV2 = -r.WV2;
    }
    return r;
}
