#include "PressurePolygon.h"
#include "DepthOrder.h"
#include "Geometry.h"
#include "SingleMath.h"
#include "platform/Variant.h"
#include <limits>

namespace {

using Vec = std::vector<float>;

}

void PolygonPoints::add(float x, float z)
{
    X.push_back(x);
    Z.push_back(z);
    CheckListSize(Z.size());
}

PolygonPoints AlongFlowLine(float XGW, float ZGW, const Vec& XS, const Vec& ZS, const Vec& XST, const Vec& ZST,
                            const Vec& XB, const Vec& ZB)
{
    PolygonPoints P;
    if (ZGW < ZST[0]) {
        P.add(XGW, ZGW);
        // Structure nodes between the level and the flow line's first point.
        for (std::size_t j = 0; j < ZB.size() && ZST[0] > ZB[j]; ++j) {
            if (ZB[j] > ZGW)
                P.add(XB[j], ZB[j]);
        }
    }
    // Of the layers, only those at a flow-line point's depth and those down to the next
    // point can move the point or add one.
    const DepthOrder layers(ZS, XS);
    for (std::size_t k = 0; k + 1 < ZST.size(); ++k) {
        P.add(XST[k], ZST[k]);
        if (P.Z.back() == ZGW && P.X.back() != XGW)
            P.X.back() = XGW;
        ForEachAtOrBetween(layers, ZST[k], ZST[k + 1], [&](std::size_t m) {
            if (ZS[m] == P.Z.back() && XS[m] != P.X.back())
                P.X.back() = XS[m];
            if (!(ZST[k] < ZS[m] && ZS[m] < ZST[k + 1]))
                return false;
            P.add(XS[m], ZS[m]);
            return true;
        });
    }
    P.add(XST.back(), ZST.back());
    return P;
}

PolygonPoints WithStructureNodes(const PolygonPoints& P, const Vec& XB, const Vec& ZB)
{
    const std::size_t NS = ZB.size() - 1;
    // Of the nodes, only those at a point's depth and those down to the next point can
    // move the last point or add one.
    const DepthOrder nodes(ZB, XB);
    PolygonPoints Q;
    for (std::size_t p = 0; p + 1 < P.size(); ++p) {
        if (ZB[0] == P.Z[p] && XB[0] != P.X[p])
            Q.add(XB[0], ZB[0]);
        Q.add(P.X[p], P.Z[p]);
        ForEachAtOrBetween(nodes, P.Z[p], P.Z[p + 1], [&](std::size_t s) {
            if (ZB[s] == Q.Z.back() && XB[s] != Q.X.back())
                Q.X.back() = XB[s];
            if (!(P.Z[p] < ZB[s] && ZB[s] < P.Z[p + 1]) && !(P.Z[p] == ZB[s] && P.X[p] != XB[s]))
                return false;
            Q.add(XB[s], ZB[s]);
            return true;
        });
        if (ZB[NS] == P.Z[p] && XB[NS] != P.X[p])
            Q.add(XB[NS], ZB[NS]);
    }
    const std::size_t NP = P.size() - 1;
    for (std::size_t s = 0; s <= NS; ++s) {
        if (P.Z[NP] == ZB[s] && P.X[NP] != XB[s])
            Q.add(XB[s], ZB[s]);
    }
    Q.add(P.X[NP], P.Z[NP]);
    // A polygon piece at the depth of horizontal outline segments takes the x values of
    // the last of them.
    Vec level(ZB.size(), std::numeric_limits<float>::quiet_NaN());
    for (std::size_t s = 1; s <= NS; ++s)
        if (ZB[s] == ZB[s - 1])
            level[s] = ZB[s];
    const DepthOrder levels(level, XB);
    for (std::size_t n = 1; n < Q.size(); ++n) {
        if (Q.Z[n] != Q.Z[n - 1])
            continue;
        const auto [first, last] = levels.at(Q.Z[n]);
        if (first == last)
            continue;
        const std::size_t s = levels.index(last - 1);
        Q.X[n] = XB[s];
        Q.X[n - 1] = XB[s - 1];
    }
    return Q;
}

namespace {

// Pass 3: drops the inner points of horizontal runs, and a horizontal run's outer end
// at the start and at the end of the polygon.
void WithoutInnerRunPoints(const PolygonPoints& Q, Vec& PX, Vec& PZ)
{
    PX.clear();
    PZ.clear();
    const std::size_t NQ = Q.size() - 1;
    auto take = [&](std::size_t p) {
        PX.push_back(Q.X[p]);
        PZ.push_back(Q.Z[p]);
    };
    if (NQ == 0) {
        take(0);
        return;
    }
    if (Q.Z[0] != Q.Z[1])
        take(0);
    for (std::size_t p = 1; p < NQ; ++p) {
        if (!(Q.Z[p - 1] == Q.Z[p] && Q.Z[p] == Q.Z[p + 1]))
            take(p);
    }
    if (Q.Z[NQ - 1] != Q.Z[NQ])
        take(NQ);
    if (PZ.empty()) {
        PX = {0.0f};
        PZ = {0.0f};
    }
}

// Head loss at depth z between the table entries a (upper) and b (lower), linear in
// depth; 0 when they do not bracket z.
float Bracketed(const SeepagePath& t, int a, int b, float z)
{
    const int last = static_cast<int>(t.ZDHV.size()) - 1;
    if (a < 0 || b < 0 || a > last || b > last)
        return 0;
    const float za = t.ZDHV[a], zb = t.ZDHV[b];
    if (!(za <= z && z <= zb && za < zb))
        return 0;
    const double share = (static_cast<double>(z) - za) / (static_cast<double>(zb) - za);
    return CheckedSng(t.DHV[a] + (static_cast<double>(t.DHV[b]) - t.DHV[a]) * share);
}

// Left side: the pointer walks the table from the top of the left flow line down.
void LeftPressures(const Vec& Z, Vec& P, const SeepagePath& t, float ZGWLS)
{
    const int NP = static_cast<int>(Z.size()) - 1;
    P.assign(Z.size(), 0.0f);
    int m = 0;
    for (int p = 0; p <= NP; ++p) {
        float h = 0;
        if (Z[p] < t.ZDHV[0] || m > t.NDHL) {
            h = 0;
        } else if (Z[p] == t.ZDHV[m]) {
            h = t.DHV[m];
            bool advance = true;
            if (p < NP && m < t.NDHL)
                advance = Z[p + 1] == t.ZDHV[m + 1] || Z[p + 1] != t.ZDHV[m];
            else if (p < NP)
                advance = Z[p + 1] != t.ZDHV[m];
            if (advance)
                ++m;
        } else {
            // A vertex the subdivided flow line has no point for (a structure node
            // ending a vertical stretch): interpolate between the entries around it.
            h = Bracketed(t, m - 1, m, Z[p]);
        }
        P[p] = VertexPressure(Z[p], ZGWLS, h);
    }
}

// Right side: the pointer walks the table from the top of the right flow line back.
void RightPressures(const Vec& Z, Vec& P, const SeepagePath& t, float ZGWLS)
{
    const int NP = static_cast<int>(Z.size()) - 1;
    const int last = static_cast<int>(t.ZDHV.size()) - 1;
    P.assign(Z.size(), 0.0f);
    int m = last;
    for (int p = 0; p <= NP; ++p) {
        float h = 0;
        if (Z[p] < t.ZDHV[last]) {
            // Above the right flow line the water stands at the right level: the whole
            // head is lost there.
            h = t.DHV[last];
        } else if (m < t.NDHR) {
            h = 0;
        } else if (Z[p] == t.ZDHV[m]) {
            h = t.DHV[m];
            bool move = true;
            if (p < NP && m > t.NDHR)
                move = Z[p + 1] == t.ZDHV[m - 1] || Z[p + 1] != t.ZDHV[m];
            else if (p < NP)
                move = Z[p + 1] != t.ZDHV[m];
            if (move)
                --m;
        } else {
            h = Bracketed(t, m + 1, m, Z[p]);
        }
        P[p] = VertexPressure(Z[p], ZGWLS, h);
    }
}

}

void KVXPOLYGON(float XGW, float ZGW, Vec& PX, Vec& PZ, const Vec& XS, const Vec& ZS,
                const Vec& XST, const Vec& ZST, const Vec& XB, const Vec& ZB)
{
    try {
        const PolygonPoints P = AlongFlowLine(XGW, ZGW, XS, ZS, XST, ZST, XB, ZB);
        const PolygonPoints Q = WithStructureNodes(P, XB, ZB);
        WithoutInnerRunPoints(Q, PX, PZ);
    } catch (const VbError& e) {
        throw RoutineError(e, QStringLiteral("Neuberechnen/KVXPOLYGON"));
    }
}

PressurePolygons BuildPolygons(const CalcInput& in)
{
    PressurePolygons r;
    try {
        Vec q;
        INTERPOLIEREN({in.ZGWLS}, q, in.L.ZB, in.L.XB);
        r.XGWL = q[0];
        INTERPOLIEREN({in.ZGWRS}, q, in.R.ZB, in.R.XB);
        r.XGWR = q[0];
        INTERPOLIEREN(in.L.ZS, r.XBSL, in.L.ZB, in.L.XB);
        INTERPOLIEREN(in.R.ZS, r.XBSR, in.R.ZB, in.R.XB);
    } catch (const VbError& e) {
        throw RoutineError(e, QStringLiteral("Neuberechnen/KVXPOLYGON"));
    }
    KVXPOLYGON(r.XGWL, in.ZGWLS, r.XPL, r.ZPL, r.XBSL, in.L.ZS, in.L.XST, in.L.ZST, in.L.XB, in.L.ZB);
    KVXPOLYGON(r.XGWR, in.ZGWRS, r.XPR, r.ZPR, r.XBSR, in.R.ZS, in.R.XST, in.R.ZST, in.R.XB, in.R.ZB);
    return r;
}

float VertexPressure(float z, float ZGWLS, float h)
{
    const float head = CheckedSng((static_cast<double>(z) - ZGWLS) - h);
    const float rounded = CheckedSng(Round(head, 5));
    return CheckedSng(static_cast<double>(rounded) * 10);
}

void ComputePressures(PressurePolygons& poly, const SeepagePath& path, float ZGWLS)
{
    LeftPressures(poly.ZPL, poly.PL, path, ZGWLS);
    RightPressures(poly.ZPR, poly.PR, path, ZGWLS);
}
