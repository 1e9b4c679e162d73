// The steps that meet a flow line with the layers and the outline find the points that
// matter by depth. Here they are set against loops that try every pair, on random input
// with winding lists, equal depths and x values, points beyond either end, values that
// are no number and zeros of both signs: the same points to the bit, the same errors.
#include "Records.h"
#include "calc/Geometry.h"
#include "calc/PressurePolygon.h"
#include "calc/SeepagePath.h"
#include "calc/SingleMath.h"
#include <gtest/gtest.h>
#include <bit>
#include <chrono>
#include <cmath>
#include <functional>
#include <limits>
#include <random>

namespace {

using Vec = std::vector<float>;

// ---- Every pair tried.

void Append(Vec& Z, Vec& X, float z, float x)
{
    Z.push_back(z);
    X.push_back(x);
    CheckListSize(Z.size());
}

void EveryNodeSplit(Vec& ZT, Vec& XT, const Vec& TZ, const Vec& TX, const Vec& ZB, const Vec& XB)
{
    Append(ZT, XT, TZ[0], TX[0]);
    for (std::size_t i = 1; i < TZ.size(); ++i) {
        for (std::size_t s = 0; s < ZB.size() && ZB[s] < TZ[i]; ++s) {
            if (TZ[i - 1] < ZB[s] && (s == 0 || XB[s] != XB[s - 1]))
                Append(ZT, XT, ZB[s], XAtDepth(TX[i - 1], TZ[i - 1], TX[i], TZ[i], ZB[s]));
        }
        Append(ZT, XT, TZ[i], TX[i]);
    }
}

float EverySectionSum(Vec& KT, const Vec& ZT, const Vec& XT, const Vec& ZS, const Vec& KFS)
{
    KT.assign(ZT.size(), 0.0f);
    float sum = 0;
    for (std::size_t i = 1; i < ZT.size(); ++i) {
        for (std::size_t j = 0; j < ZS.size(); ++j) {
            const bool inSection = j == 0 ? ZT[i] <= ZS[0] : ZS[j] >= ZT[i] && ZT[i - 1] >= ZS[j - 1];
            if (inSection) {
                CheckSubscript(static_cast<std::ptrdiff_t>(j), KFS.size());
                KT[i] = KFS[j];
            }
        }
        if (KT[i] != 0)
            sum = CheckedSng(sum + SegmentLength(XT[i - 1], ZT[i - 1], XT[i], ZT[i]) / KT[i]);
    }
    return sum;
}

PolygonPoints EveryLayerAlong(float XGW, float ZGW, const Vec& XS, const Vec& ZS, const Vec& XST, const Vec& ZST,
                              const Vec& XB, const Vec& ZB)
{
    PolygonPoints P;
    if (ZGW < ZST[0]) {
        P.add(XGW, ZGW);
        for (std::size_t j = 0; j < ZB.size() && ZST[0] > ZB[j]; ++j) {
            if (ZB[j] > ZGW)
                P.add(XB[j], ZB[j]);
        }
    }
    for (std::size_t k = 0; k + 1 < ZST.size(); ++k) {
        P.add(XST[k], ZST[k]);
        if (P.Z.back() == ZGW && P.X.back() != XGW)
            P.X.back() = XGW;
        for (std::size_t m = 0; m < ZS.size(); ++m) {
            if (ZS[m] == P.Z.back() && XS[m] != P.X.back())
                P.X.back() = XS[m];
            if (ZST[k] < ZS[m] && ZS[m] < ZST[k + 1])
                P.add(XS[m], ZS[m]);
        }
    }
    P.add(XST.back(), ZST.back());
    return P;
}

PolygonPoints EveryNodeWith(const PolygonPoints& P, const Vec& XB, const Vec& ZB)
{
    const std::size_t NS = ZB.size() - 1;
    PolygonPoints Q;
    for (std::size_t p = 0; p + 1 < P.size(); ++p) {
        if (ZB[0] == P.Z[p] && XB[0] != P.X[p])
            Q.add(XB[0], ZB[0]);
        Q.add(P.X[p], P.Z[p]);
        for (std::size_t s = 0; s <= NS; ++s) {
            if (ZB[s] == Q.Z.back() && XB[s] != Q.X.back())
                Q.X.back() = XB[s];
            if (P.Z[p] < ZB[s] && ZB[s] < P.Z[p + 1])
                Q.add(XB[s], ZB[s]);
            else if (P.Z[p] == ZB[s] && P.X[p] != XB[s])
                Q.add(XB[s], ZB[s]);
        }
        if (ZB[NS] == P.Z[p] && XB[NS] != P.X[p])
            Q.add(XB[NS], ZB[NS]);
    }
    const std::size_t NP = P.size() - 1;
    for (std::size_t s = 0; s <= NS; ++s) {
        if (P.Z[NP] == ZB[s] && P.X[NP] != XB[s])
            Q.add(XB[s], ZB[s]);
    }
    Q.add(P.X[NP], P.Z[NP]);
    for (std::size_t n = 1; n < Q.size(); ++n) {
        for (std::size_t s = 1; s <= NS; ++s) {
            if (Q.Z[n] == Q.Z[n - 1] && Q.Z[n] == ZB[s] && Q.Z[n - 1] == ZB[s - 1]) {
                Q.X[n] = XB[s];
                Q.X[n - 1] = XB[s - 1];
            }
        }
    }
    return Q;
}

// ---- Outcomes compared to the bit.

struct Outcome {
    int32_t error = 0;
    std::vector<std::vector<uint32_t>> bits;   // every list the step gives
};

Outcome Run(const std::function<std::vector<Vec>()>& step)
{
    Outcome o;
    try {
        for (const Vec& list : step()) {
            o.bits.emplace_back();
            for (float v : list)
                o.bits.back().push_back(std::bit_cast<uint32_t>(v));
        }
    } catch (const VbError& e) {
        o.error = e.number();
    }
    return o;
}

void ExpectSame(const Outcome& fast, const Outcome& everyPair)
{
    EXPECT_EQ(fast.error, everyPair.error);
    EXPECT_EQ(fast.bits, everyPair.bits);
}

Outcome Split(decltype(&EveryNodeSplit) f, const Vec& TZ, const Vec& TX, const Vec& ZB, const Vec& XB)
{
    return Run([&] {
        Vec ZT, XT;
        f(ZT, XT, TZ, TX, ZB, XB);
        return std::vector<Vec>{ZT, XT};
    });
}

Outcome Sum(decltype(&EverySectionSum) f, const Vec& ZT, const Vec& XT, const Vec& ZS, const Vec& KFS)
{
    return Run([&] {
        Vec KT;
        const float sum = f(KT, ZT, XT, ZS, KFS);
        return std::vector<Vec>{KT, {sum}};
    });
}

Outcome Along(decltype(&EveryLayerAlong) f, float XGW, float ZGW, const Vec& XS, const Vec& ZS, const Vec& XST,
              const Vec& ZST, const Vec& XB, const Vec& ZB)
{
    return Run([&] {
        const PolygonPoints P = f(XGW, ZGW, XS, ZS, XST, ZST, XB, ZB);
        return std::vector<Vec>{P.X, P.Z};
    });
}

Outcome With(decltype(&EveryNodeWith) f, const PolygonPoints& P, const Vec& XB, const Vec& ZB)
{
    return Run([&] {
        const PolygonPoints Q = f(P, XB, ZB);
        return std::vector<Vec>{Q.X, Q.Z};
    });
}

// ---- Random input.

class RandomInput {
public:
    explicit RandomInput(unsigned seed) : random_(seed) {}

    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }
    // Now and then a value that is no number or a negative zero.
    float odd(float usual)
    {
        const int r = pick(0, 199);
        return r == 0 ? std::numeric_limits<float>::quiet_NaN() : r == 1 ? -0.0f : usual;
    }
    // Depths on a grid of half metres, so that they meet.
    float depth() { return odd(0.5f * float(pick(-4, 12))); }
    // Few x values, so that neighbours share them (vertical stretches).
    float x() { return odd(0.5f * float(pick(-2, 2))); }
    // A few or many depths: running down with equal steps, or winding up and down.
    Vec depths()
    {
        const int n = pick(0, 1) ? pick(1, 4) : pick(5, 60);
        const bool winding = pick(0, 1);
        Vec Z{depth()};
        while (int(Z.size()) < n)
            Z.push_back(odd(Z.back() + 0.5f * float(pick(winding ? -2 : 0, 3))));
        return Z;
    }
    Vec xs(std::size_t n)
    {
        Vec X;
        while (X.size() < n)
            X.push_back(x());
        return X;
    }
    // Permeabilities of the sections, now and then fewer than the layers.
    Vec permeabilities(std::size_t layers)
    {
        const float k[] = {0, 1e-4f, 1e-5f, 2e-5f};
        Vec KFS;
        const std::size_t n = pick(0, 9) ? layers : std::size_t(pick(0, int(layers)));
        while (KFS.size() < n)
            KFS.push_back(k[pick(0, 3)]);
        return KFS;
    }

private:
    std::mt19937 random_;
};

TEST(DepthSearch, SameAsEveryPairOnRandomInput)
{
    RandomInput in(23);
    for (int round = 0; round < 3000; ++round) {
        SCOPED_TRACE(round);
        const Vec ZS = in.depths(), XS = in.xs(ZS.size()), KFS = in.permeabilities(ZS.size());
        const Vec ZST = in.depths(), XST = in.xs(ZST.size());
        const Vec ZB = in.depths(), XB = in.xs(ZB.size());
        const float ZGW = in.depth(), XGW = in.x();
        ExpectSame(Split(&SplitAtNodes, ZST, XST, ZB, XB), Split(&EveryNodeSplit, ZST, XST, ZB, XB));
        ExpectSame(Sum(&PermeabilitiesAndSum, ZST, XST, ZS, KFS), Sum(&EverySectionSum, ZST, XST, ZS, KFS));
        ExpectSame(Along(&AlongFlowLine, XGW, ZGW, XS, ZS, XST, ZST, XB, ZB),
                   Along(&EveryLayerAlong, XGW, ZGW, XS, ZS, XST, ZST, XB, ZB));
        // The second pass on a list of its own: any depths and x values.
        PolygonPoints P;
        P.Z = in.depths();
        P.X = in.xs(P.Z.size());
        ExpectSame(With(&WithStructureNodes, P, XB, ZB), With(&EveryNodeWith, P, XB, ZB));
        if (HasFailure())
            return;
    }
}

TEST(DepthSearch, ManyPointsAtFewDepths)
{
    // 200 points at one depth meeting 200 nodes there with another x, and 400 flow-line
    // points going to and fro across 200 layers at one depth: each adds 40,000 points, past
    // the 32,768 a list may hold. Fewer of them stay within it.
    for (const int n : {200, 100}) {
        SCOPED_TRACE(n);
        PolygonPoints P;
        Vec ZB, XB;
        for (int i = 0; i < n; ++i) {
            P.add(0, 1);
            ZB.push_back(1);
            XB.push_back(float(1 + i % 2));
        }
        const Outcome with = With(&WithStructureNodes, P, XB, ZB);
        ExpectSame(with, With(&EveryNodeWith, P, XB, ZB));
        EXPECT_EQ(with.error, n == 200 ? VbErr::Overflow : 0);

        Vec ZST, XST;
        for (int i = 0; i < 2 * n; ++i) {
            ZST.push_back(i % 2 ? 0.0f : 10.0f);
            XST.push_back(0);
        }
        const Vec ZS(std::size_t(n), 5.0f), XS(std::size_t(n), 3.0f);
        const Outcome along = Along(&AlongFlowLine, 0, 0, XS, ZS, XST, ZST, XB, ZB);
        ExpectSame(along, Along(&EveryLayerAlong, 0, 0, XS, ZS, XST, ZST, XB, ZB));
        EXPECT_EQ(along.error, n == 200 ? VbErr::Overflow : 0);
    }
}

TEST(DepthSearch, RepeatedPointsInTimeGrowingWithTheirNumber)
{
    // 20,000 points of a polygon on 20,000 outline nodes at the same point, and 20,000
    // flow-line points at the depth of 20,000 layers: each point meets every one of the
    // others, but only the first of them can change anything.
    constexpr std::size_t n = 20000;
    PolygonPoints P;
    P.X.assign(n, 0.0f);
    P.Z.assign(n, 1.0f);
    const Vec XB(n, 0.0f), ZB(n, 1.0f), XST(n, 2.0f), ZST(n, 1.0f), XS(n, 3.0f), ZS(n, 1.0f);
    const auto start = std::chrono::steady_clock::now();
    const PolygonPoints Q = WithStructureNodes(P, XB, ZB);
    const PolygonPoints along = AlongFlowLine(0, 0, XS, ZS, XST, ZST, XB, ZB);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(Q.X, P.X);
    // The level point, then every flow-line point but the last on the structure's x there.
    Vec snapped(n + 1, 3.0f);
    snapped.front() = 0;
    snapped.back() = 2;
    EXPECT_EQ(along.X, snapped);
}

TEST(DepthSearch, LongRecordInTimeGrowingWithItsLength)
{
    // 10,000 flow-line points, layers and outline nodes per side, all at depths of their
    // own: the polygons and the subdivided flow line take every one of them. Trying every
    // pair, about two thousand million tests; found by depth, the time grows with the lengths.
    constexpr int n = 10000;
    Record r;
    r.ZGWLS = 0;
    r.ZGWRS = 2;
    for (int k = 0; k < n; ++k) {
        const float z = float(k);
        for (auto* side : {&r.layersL, &r.layersR})
            side->push_back({z + 0.25f, k % 2 ? 1e-4f : 2e-5f});
        for (auto* side : {&r.flowL, &r.flowR})
            side->push_back({0, z});
        for (auto* side : {&r.outlineL, &r.outlineR})
            side->push_back({-float(k % 2), z + 0.5f});
    }
    const CalcInput in = ToInput(r);
    Vec ZT, XT, KT;
    const auto start = std::chrono::steady_clock::now();
    const PressurePolygons poly = BuildPolygons(in);
    PHILINIE(ZT, XT, KT, in.L.ZS, in.L.KFS, in.L.ZST, in.L.XST, in.L.ZB, in.L.XB);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    // Every flow-line point, and every layer and node but the deepest, which lie below the base.
    EXPECT_EQ(poly.ZPL.size(), std::size_t(3 * n - 2));
    EXPECT_EQ(poly.ZPR.size(), std::size_t(3 * n - 2));
    EXPECT_EQ(ZT.size(), std::size_t(3 * n - 2));
    EXPECT_EQ(KT[1], 2e-5f);   // the piece above the first layer: the top section's
    EXPECT_EQ(KT[2], 1e-4f);
}

}
