#include "calc/Geometry.h"
#include "calc/SectionRows.h"
#include <gtest/gtest.h>
#include <bit>
#include <cmath>

namespace {

bool operator==(const SectionRow& a, const SectionRow& b)
{
    return a.horizontal == b.horizontal && a.K == b.K && a.key2 == b.key2 && a.index == b.index && a.X == b.X
           && a.Z == b.Z && a.WH == b.WH && a.WV == b.WV;
}

TEST(SectionRows, StepPolygonRowsInWriteOrder)
{
    // (0,1) down to (0,3), a step toward smaller x to (-1,3), down to (-1,5).
    const float p0 = 10, p1 = 30, p2 = 20, p3 = 40;
    const float c = static_cast<float>(std::cos(static_cast<double>(Angle::PI_2)) / std::sin(static_cast<double>(Angle::PI_2)));
    const std::vector<SectionRow> rows = ComputeSectionRows(LeftSide, {0, 0, -1, -1}, {1, 3, 3, 5}, {p0, p1, p2, p3});
    const std::vector<SectionRow> expected = {
        {false, 1, 0, 0, 0, 1, 0, 0},
        {false, 1, 1, 0, 0, 1, -p0, 0},
        {false, 1, 0, 1, 0, 3, -p1, 0},
        {false, 1, 1, 1, 0, 3, 0, 0},
        {false, 1, 0, 2, -1, 3, 0, 0},
        {true, 1, 1, 0, 0, 3, -static_cast<float>(p1 * static_cast<double>(std::cos(double(Angle::PI_2))) / std::sin(double(Angle::PI_2))), p1},
        {true, 1, 2, 0, -1, 3, -static_cast<float>(p2 * static_cast<double>(std::cos(double(Angle::PI_2))) / std::sin(double(Angle::PI_2))), p2},
        {false, 1, 1, 2, -1, 3, -p2, 0},
        {false, 1, 0, 3, -1, 5, -p3, 0},
        {false, 1, 1, 3, -1, 5, 0, 0},
    };
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_TRUE(rows[i] == expected[i]) << "row " << i;
    EXPECT_NEAR(c, 7.55e-8f, 0.01e-8f);
    // With p1 = p2 = 20 the horizontal section's WH is -1.509958e-06.
    const std::vector<SectionRow> twenty = ComputeSectionRows(LeftSide, {0, 0, -1, -1}, {1, 3, 3, 5}, {20, 20, 20, 20});
    EXPECT_EQ(twenty[5].WH, -1.509958e-06f);
    EXPECT_EQ(twenty[5].WV, 20.0f);

    // The right side: the same rows with K 2 and every component negated.
    const std::vector<SectionRow> right = ComputeSectionRows(RightSide, {0, 0, -1, -1}, {1, 3, 3, 5}, {p0, p1, p2, p3});
    ASSERT_EQ(right.size(), expected.size());
    for (std::size_t i = 0; i < right.size(); ++i) {
        SectionRow e = expected[i];
        e.K = 2;
        e.WH = -e.WH;
        e.WV = -e.WV;
        EXPECT_TRUE(right[i] == e) << "row " << i;
    }
}

TEST(SectionRows, SingleVertexAndZeroLengthSegment)
{
    const std::vector<SectionRow> one = ComputeSectionRows(LeftSide, {2}, {6}, {60});
    ASSERT_EQ(one.size(), 2u);
    EXPECT_TRUE((one[0] == SectionRow{false, 1, 0, 0, 2, 6, 0, 0}));
    EXPECT_TRUE((one[1] == SectionRow{false, 1, 1, 0, 2, 6, 0, 0}));

    // Two equal vertices: angle 0, a vertical section with WV 0.
    const std::vector<SectionRow> zero = ComputeSectionRows(RightSide, {4, 4}, {6, 6}, {50, 50});
    ASSERT_EQ(zero.size(), 4u);
    EXPECT_EQ(zero[1].WH, 50.0f);
    EXPECT_EQ(zero[1].WV, 0.0f);
}

struct BaseCase {
    const char* name;
    float xL, zL, pL, xR, zR, pR;
    bool valid;
    float WHL, WVL, WHR, WVR;
};

TEST(SectionRows, BaseCorners)
{
    const BaseCase cases[] = {
        {"horizontal", 0, 6, 73.773598f, 4, 6, 66.226402f, true, 0, -73.773598f, 0, -66.226402f},
        {"coinciding corners", 2, 4, 30, 2, 4, 30, true, 0, 0, 0, 0},
        {"rising at 45 degrees", 0, 6, 100, 2, 4, 100, true, std::bit_cast<float>(0x42C80002u), -100,
         std::bit_cast<float>(0x42C80002u), -100},
        {"vertical", 2, 3, 30, 2, 4, 40, false, 0, 0, 0, 0},
        {"toward smaller x", 4, 3, 30, 0, 3, 30, false, 0, 0, 0, 0},
    };
    for (const BaseCase& c : cases) {
        SCOPED_TRACE(c.name);
        const BaseCorners b = ComputeBaseCorners(c.xL, c.zL, c.pL, c.xR, c.zR, c.pR);
        EXPECT_EQ(b.valid, c.valid);
        EXPECT_EQ(b.WHL, c.WHL);
        EXPECT_EQ(b.WVL, c.WVL);
        EXPECT_EQ(b.WHR, c.WHR);
        EXPECT_EQ(b.WVR, c.WVR);
    }
    // Falling at 45 degrees toward larger x: about -p.
    const BaseCorners falling = ComputeBaseCorners(0, 4, 100, 2, 6, 100);
    EXPECT_TRUE(falling.valid);
    EXPECT_NEAR(falling.WHL, -100.0f, 1e-4f);
}

}
