#include "Geometry.h"
#include "SingleMath.h"
#include <cmath>

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
    for (std::size_t i = 0; i < P.size(); ++i) {
        for (std::size_t j = 0; j + 1 < R.size(); ++j) {
            if (R[j] <= P[i] && P[i] < R[j + 1]) {
                CheckSubscript(static_cast<std::ptrdiff_t>(j + 1), S.size());
                Q[i] = XAtDepth(S[j], R[j], S[j + 1], R[j + 1], P[i]);
            }
        }
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
