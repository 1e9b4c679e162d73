#include "calc/Geometry.h"
#include "calc/SingleMath.h"
#include "support/TestHelpers.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <bit>
#include <chrono>
#include <random>

namespace {

uint32_t Bits(float f) { return std::bit_cast<uint32_t>(f); }

TEST(Geometry, AngleConstantsAreTheProgramsSingles)
{
    EXPECT_EQ(Bits(Angle::PI), 0x40490FDAu);
    EXPECT_EQ(Bits(Angle::PI_2), 0x3FC90FDAu);
    EXPECT_EQ(Bits(Angle::PI3_2), 0x4096CBE4u);
    EXPECT_EQ(Bits(Angle::PI2), 0x40C90FDAu);
    EXPECT_EQ(Bits(Angle::PI_4), 0x3F490FDAu);
    EXPECT_EQ(Bits(Angle::PI3_4), 0x4016CBE4u);
    EXPECT_EQ(Bits(Angle::PI5_4), 0x407B53D0u);
    EXPECT_EQ(Bits(Angle::PI7_4), 0x40AFEDDFu);
}

struct AngleCase {
    float Z1, X1, Z2, X2;
    uint32_t bits;
};

TEST(Geometry, DirectionAngleTable)
{
    const AngleCase cases[] = {
        {0, 0, 1, 0, 0x00000000u},        // down: 0
        {0, 0, 0, -1, 0x3FC90FDAu},       // toward smaller x: 1.5707963
        {0, 0, -1, 0, 0x40490FDAu},       // up: 3.1415925
        {0, 0, 0, 1, 0x4096CBE4u},        // toward larger x: 4.712389 (z first, then x)
        {0, 0, 1, -1, 0x3F490FDBu},       // 0.7853982
        {0, 0, -1, -1, 0x4016CBE3u},      // 2.3561943
        {0, 0, -1, 1, 0x407B53D1u},       // 3.9269907
        {0, 0, 1, 1, 0x40AFEDDFu},        // 5.497787
        {0, 0, 0, 0, 0x00000000u},        // equal points
        {0, 0, 1, 1e-8f, 0x40C90FDAu},    // just short of a full turn rounds to 2PI
        {2, 5, 2, 9, 0x4096CBE4u},        // any horizontal step toward larger x is 3PI/2
    };
    for (const AngleCase& c : cases) {
        const float a = RICHTUNGSWINKEL(c.Z1, c.X1, c.Z2, c.X2);
        EXPECT_EQ(Bits(a), c.bits) << c.Z1 << "," << c.X1 << " -> " << c.Z2 << "," << c.X2 << ": " << a;
    }
}

struct InterpolationCase {
    const char* name;
    std::vector<float> P, R, S, expected;
};

TEST(Geometry, StructureXAtDepths)
{
    const InterpolationCase cases[] = {
        {"last bracketing segment wins", {1}, {0, 2, 0, 2}, {0, 10, 20, 30}, {25}},
        {"first point with a deeper second gives its x", {-1}, {-1, 6}, {4, 4}, {4}},
        {"last point gives 0", {6}, {-1, 6}, {4, 4}, {0}},
        {"above the first and below the last give 0", {-2, 7}, {-1, 6}, {4, 4}, {0, 0}},
        {"inner point answered by the segment starting there", {2}, {0, 2, 2, 5}, {0, 1, 3, 6}, {3}},
        {"level segment alone answers nothing", {2}, {0, 2, 2}, {0, 1, 3}, {0}},
        {"single point outline", {0, 1}, {0}, {7}, {0, 0}},
        {"sloped", {1}, {0, 4}, {0, 1}, {0.25f}},
    };
    for (const InterpolationCase& c : cases) {
        std::vector<float> Q{9, 9, 9, 9, 9};
        INTERPOLIEREN(c.P, Q, c.R, c.S);
        EXPECT_EQ(Q, c.expected) << c.name;
    }
    // The flow-line subdivision meets its segments the same way; a level one has no x.
    EXPECT_EQ(XAtDepth(0, 0, 1, 4, 1), 0.25f);
    EXPECT_EQ(XAtDepth(2, 1, -2, 3, 2.5f), -1.0f);
    EXPECT_EQ(VbErrorOf([] { XAtDepth(0, 2, 1, 2, 2); }), VbErr::DivisionByZero);
}

// The x of each depth as the last segment that brackets it gives, segment by segment.
std::vector<float> LastBracketing(const std::vector<float>& P, const std::vector<float>& R,
                                  const std::vector<float>& S)
{
    std::vector<float> Q(P.size(), 0.0f);
    for (std::size_t i = 0; i < P.size(); ++i)
        for (std::size_t j = 0; j + 1 < R.size(); ++j)
            if (R[j] <= P[i] && P[i] < R[j + 1])
                Q[i] = XAtDepth(S[j], R[j], S[j + 1], R[j + 1], P[i]);
    return Q;
}

std::vector<uint32_t> BitsOf(const std::vector<float>& values)
{
    std::vector<uint32_t> bits;
    for (float v : values)
        bits.push_back(Bits(v));
    return bits;
}

TEST(Geometry, StructureXAtDepthsOfWindingOutlines)
{
    // Outlines that go down, up and level on a grid of quarter metres, so that depths
    // meet points, several segments and level stretches; asked at every point's depth,
    // between them and beyond both ends, in any order and twice over.
    std::mt19937 random(23);
    std::uniform_int_distribution<int> points(1, 30), step(-3, 4), x(-40, 40), extra(-8, 40);
    for (int round = 0; round < 300; ++round) {
        std::vector<float> R{0.25f * float(step(random))}, S{0.5f * float(x(random))};
        for (int k = points(random); k > 1; --k) {
            R.push_back(R.back() + 0.25f * float(step(random)));
            S.push_back(0.5f * float(x(random)));
        }
        std::vector<float> P = R;
        for (int k = 0; k < 10; ++k)
            P.push_back(0.125f * float(extra(random)));
        P.insert(P.end(), P.begin(), P.end());
        std::shuffle(P.begin(), P.end(), random);
        std::vector<float> Q;
        INTERPOLIEREN(P, Q, R, S);
        ASSERT_EQ(BitsOf(Q), BitsOf(LastBracketing(P, R, S))) << "round " << round;
    }
}

TEST(Geometry, StructureXOfManyLayersOnALongOutline)
{
    // 30,000 layer depths on an outline of 30,000 points: tried segment by segment, 900
    // million tests; the time grows with the lengths, not their product.
    constexpr int n = 30000;
    std::vector<float> R(n), S(n), P(n);
    for (int k = 0; k < n; ++k) {
        R[std::size_t(k)] = 0.001f * float(k);
        S[std::size_t(k)] = float(1 + k % 7);
        P[std::size_t(n - 1 - k)] = R[std::size_t(k)];
    }
    std::vector<float> Q;
    const auto start = std::chrono::steady_clock::now();
    INTERPOLIEREN(P, Q, R, S);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(Q[std::size_t(n - 1)], 1.0f);    // the first point's depth: its x
    EXPECT_EQ(Q[std::size_t(n - 9)], 2.0f);    // the ninth point's
    EXPECT_EQ(Q[0], 0.0f);                     // the last point's depth: none
}

struct SectorCase {
    float a;
    bool horizontal;
};

TEST(Geometry, SectorClassesAtTheBoundsAndAt45Degrees)
{
    const SectorCase cases[] = {
        {std::bit_cast<float>(0x3F490FDBu), true},    // down toward smaller x
        {std::bit_cast<float>(0x4016CBE3u), true},    // up toward smaller x
        {std::bit_cast<float>(0x407B53D1u), true},    // up toward larger x
        {std::bit_cast<float>(0x40AFEDDFu), false},   // down toward larger x: on the bound
        {Angle::PI_4, false}, {Angle::PI3_4, false}, {Angle::PI5_4, false}, {Angle::PI7_4, false},
        {0, false}, {Angle::PI_2, true}, {Angle::PI, false}, {Angle::PI3_2, true}, {Angle::PI2, false},
    };
    for (const SectorCase& c : cases) {
        EXPECT_EQ(SectorComponents(c.a, 10, 20, LeftSide).horizontal, c.horizontal) << c.a;
        EXPECT_EQ(SectorComponents(c.a, 10, 20, RightSide).horizontal, c.horizontal) << c.a;
    }
}

TEST(Geometry, SectorComponentsLeftAndRight)
{
    // Straight down: WH = -p, WV = 0 on the left; the right side is its negative.
    const SegmentComponents down = SectorComponents(0, 20, 30, LeftSide);
    EXPECT_EQ(down.WH1, -20.0f);
    EXPECT_EQ(down.WV1, 0.0f);
    EXPECT_EQ(down.WH2, -30.0f);
    const SegmentComponents right = SectorComponents(0, 20, 30, RightSide);
    EXPECT_EQ(right.WH1, 20.0f);
    EXPECT_EQ(right.WH2, 30.0f);

    // A step toward smaller x: WH = -p·cos/sin, not exactly 0; WV = p.
    const SegmentComponents step = SectorComponents(Angle::PI_2, 20, 20, LeftSide);
    EXPECT_EQ(step.WH1, -1.509958e-06f);
    EXPECT_EQ(step.WV1, 20.0f);

    // Horizontal step toward larger x: WV = -p, WH about -1.2e-8·p.
    const SegmentComponents larger = SectorComponents(Angle::PI3_2, 100, 100, LeftSide);
    EXPECT_EQ(larger.WV1, -100.0f);
    EXPECT_NEAR(larger.WH1, -1.2e-6f, 0.1e-6f);
    EXPECT_LT(larger.WH1, 0.0f);

    // Straight up: WH = p, WV about +1.5e-7·p.
    const SegmentComponents up = SectorComponents(Angle::PI, 100, 100, LeftSide);
    EXPECT_EQ(up.WH1, 100.0f);
    EXPECT_NEAR(up.WV1, 1.5e-5f, 0.1e-5f);
    EXPECT_GT(up.WV1, 0.0f);

    // Every right component is the negative of the left one.
    for (float a : {0.3f, 1.0f, 2.0f, 3.0f, 4.5f, 5.0f, 6.0f}) {
        const SegmentComponents l = SectorComponents(a, 13.7f, 42.1f, LeftSide);
        const SegmentComponents r = SectorComponents(a, 13.7f, 42.1f, RightSide);
        EXPECT_EQ(r.WH1, -l.WH1);
        EXPECT_EQ(r.WV1, -l.WV1);
        EXPECT_EQ(r.WH2, -l.WH2);
        EXPECT_EQ(r.WV2, -l.WV2);
    }
}

TEST(Geometry, SingleArithmeticErrors)
{
    EXPECT_EQ(VbErrorOf([] { CheckedSng(1e39); }), VbErr::Overflow);
    EXPECT_EQ(VbErrorOf([] { CheckSubscript(3, 3); }), VbErr::Subscript);
    EXPECT_EQ(VbErrorOf([] { CheckListSize(32768); }), 0);
    EXPECT_EQ(VbErrorOf([] { CheckListSize(32769); }), VbErr::Overflow);
}

}
