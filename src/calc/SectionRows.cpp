#include "SectionRows.h"
#include "Geometry.h"
#include "SingleMath.h"
#include <cmath>

BaseCorners ComputeBaseCorners(float xL, float zL, float pL, float xR, float zR, float pR)
{
    BaseCorners b;
    if (zL == zR && xL == xR)
        return b;
    const float a = RICHTUNGSWINKEL(zL, xL, zR, xR);
    if (a == Angle::PI3_2) {
        b.WHL = 0;
        b.WVL = -pL;
        b.WHR = 0;
        b.WVR = -pR;
    } else if ((Angle::PI < a && a < Angle::PI3_2) || (Angle::PI3_2 < a && a < Angle::PI2)) {
        const double c = std::cos(static_cast<double>(a));
        const double s = std::sin(static_cast<double>(a));
        b.WHL = SngDiv(static_cast<double>(pL) * c, s);
        b.WVL = -pL;
        b.WHR = SngDiv(static_cast<double>(pR) * c, s);
        b.WVR = -pR;
    } else {
        b.valid = false;
    }
    return b;
}

std::vector<SectionRow> ComputeSectionRows(int16_t K, const std::vector<float>& X,
                                           const std::vector<float>& Z, const std::vector<float>& P)
{
    std::vector<SectionRow> rows;
    if (Z.empty())
        return rows;
    CheckListSize(Z.size());
    auto a2 = [&](int16_t OU, int16_t I4, std::size_t v, float WH, float WV) {
        rows.push_back({false, K, OU, I4, X[v], Z[v], WH, WV});
    };
    int16_t vertex = 0, section = 0;
    a2(0, 0, 0, 0, 0);
    for (std::size_t i = 0; i + 1 < Z.size(); ++i) {
        const float a = RICHTUNGSWINKEL(Z[i], X[i], Z[i + 1], X[i + 1]);
        const SegmentComponents c = SectorComponents(a, P[i], P[i + 1], K);
        if (!c.horizontal) {
            a2(1, vertex, i, c.WH1, c.WV1);
            ++vertex;
            a2(0, vertex, i + 1, c.WH2, c.WV2);
        } else {
            a2(1, vertex, i, 0, 0);
            ++vertex;
            a2(0, vertex, i + 1, 0, 0);
            rows.push_back({true, K, 1, section, X[i], Z[i], c.WH1, c.WV1});
            rows.push_back({true, K, 2, section, X[i + 1], Z[i + 1], c.WH2, c.WV2});
            ++section;
        }
    }
    a2(1, vertex, Z.size() - 1, 0, 0);
    return rows;
}
