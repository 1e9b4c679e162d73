#include "Records.h"
#include "calc/PressurePolygon.h"
#include "calc/SeepagePath.h"
#include "calc/SingleMath.h"
#include <gtest/gtest.h>

namespace {

using Vec = std::vector<float>;

// 0.01562 (0.015625 rounded, half to even) times 10, stored as Single.
constexpr float P01562 = 0x1.3fe5c8p-3f;

// The pressure of a head already rounded to 5 decimals: ten times it, as Single.
float Tenfold(float head) { return static_cast<float>(static_cast<double>(head) * 10); }

struct SeepageCase {
    const char* name;
    Record record;
    float LGES, GRAD, SUML, SUMR, SLK, KEQ, VF;
    Vec ZDHV, DHV;
    int NDHL, NDHR;
};

TEST(SeepagePath, WorkedExamplesExactly)
{
    const SeepageCase cases[] = {
        {"head-loss example", Records::HeadLossExample(), 14, 0.14285715f, 330000, 310000, 1040000,
         1.3461538e-05f, 1.923077e-06f, {0, 3, 6, 6, 3, 2},
         {0, 0.057692312f, 0.63461536f, 1.4038461f, 1.9807692f, 1.9999999f}, 2, 3},
        {"polygon example", Records::PolygonExample(), 16, 0.125f, 330000, 330000, 1060000,
         0.0000150943396f, 1.8867925e-06f, {0, 3, 6, 6, 3, 0},
         {0, 0.056603774f, 0.62264156f, 1.3773586f, 1.9433963f, 2}, 2, 3},
        {"symmetric box, equal levels", Records::SymmetricBox(), 16, 0, 330000, 330000, 1060000,
         0.0000150943396f, 0, {0, 3, 6, 6, 3, 0}, {0, 0, 0, 0, 0, 0}, 2, 3},
    };
    for (const SeepageCase& c : cases) {
        SCOPED_TRACE(c.name);
        const SeepagePath s = ComputeSeepagePath(ToInput(c.record));
        EXPECT_EQ(s.LGES, c.LGES);
        EXPECT_EQ(s.GRAD, c.GRAD);
        EXPECT_EQ(s.SUML, c.SUML);
        EXPECT_EQ(s.SUMR, c.SUMR);
        EXPECT_EQ(s.SLK, c.SLK);
        EXPECT_EQ(s.KEQ, c.KEQ);
        EXPECT_EQ(s.VF, c.VF);
        EXPECT_EQ(s.ZDHV, c.ZDHV);
        EXPECT_EQ(s.DHV, c.DHV);
        EXPECT_EQ(s.NDHL, c.NDHL);
        EXPECT_EQ(s.NDHR, c.NDHR);
    }
}

TEST(SeepagePath, SubdividedFlowLines)
{
    const SeepagePath s = ComputeSeepagePath(ToInput(Records::HeadLossExample()));
    EXPECT_EQ(s.ZTL, (Vec{0, 3, 6}));
    EXPECT_EQ(s.KTL, (Vec{0, 1e-4f, 1e-5f}));
    EXPECT_EQ(s.ZTR, (Vec{2, 3, 6}));
    EXPECT_EQ(s.KTR, (Vec{0, 1e-4f, 1e-5f}));

    // A flow-line point at a layer depth gets no extra point; the pieces meeting
    // there take the sections above and below.
    Vec ZT, XT, KT;
    const Vec ZS{0, 3, 10}, KFS{0, 1e-4f, 1e-5f};
    EXPECT_EQ(PHILINIE(ZT, XT, KT, ZS, KFS, {0, 3, 6}, {0, 0, 0}, {-1, 6}, {0, 0}), 330000.0f);
    EXPECT_EQ(ZT, (Vec{0, 3, 6}));
    EXPECT_EQ(KT, (Vec{0, 1e-4f, 1e-5f}));

    // A flow line of one point: that point, sum 0.
    EXPECT_EQ(PHILINIE(ZT, XT, KT, ZS, KFS, {6}, {0}, {6}, {0}), 0.0f);
    EXPECT_EQ(ZT, (Vec{6}));
    EXPECT_EQ(KT, (Vec{0}));

    // A flow line starting below some layer depths passes them over.
    EXPECT_EQ(PHILINIE(ZT, XT, KT, ZS, KFS, {4, 6}, {0, 0}, {-1, 6}, {0, 0}), 200000.0f);
    EXPECT_EQ(ZT, (Vec{4, 6}));

    // A sloped flow line is split where it crosses a layer depth, x interpolated.
    PHILINIE(ZT, XT, KT, ZS, KFS, {0, 6}, {0, 3}, {-1, 6}, {0, 3});
    EXPECT_EQ(ZT, (Vec{0, 3, 6}));
    EXPECT_EQ(XT, (Vec{0, 1.5f, 3}));

    // The node at the lower end of a vertical outline stretch is not inserted.
    const SeepagePath c6 = ComputeSeepagePath(ToInput(Records::NodesAndRightLevel()));
    EXPECT_EQ(c6.ZDHV, (Vec{0, 3, 6, 6, 3, 2}));

    // A node of a sloped outline stretch is inserted.
    const SeepagePath c5 = ComputeSeepagePath(ToInput(Records::StepAndSlope()));
    EXPECT_EQ(c5.ZTR, (Vec{1.5f, 3, 4, 5.5f}));
}

TEST(SeepagePath, EachPieceCountsOnceInTheTotalResistance)
{
    // A horizontal flow-line piece on a layer boundary matches two sections; it
    // counts once, with the permeability its table entry uses.
    const SeepagePath s = ComputeSeepagePath(ToInput(Records::StepOnBoundary()));
    EXPECT_EQ(s.SUML, 200710.69f);
    // A link lying exactly on a right boundary is counted once, in the upper section.
    const SeepagePath link = ComputeSeepagePath(ToInput(Records::LinkOnRightBoundary()));
    EXPECT_EQ(link.SLK, 482500.0f);
    EXPECT_EQ(link.KLINK, 2e-05f);
}

TEST(SeepagePath, TotalHeadLossReachesTheHeadDifference)
{
    // Whatever the layering, the table's last entry is the whole head difference
    // (up to rounding) once every piece uses one permeability in both sums.
    const Record records[] = {Records::HeadLossExample(), Records::UnsymmetricConsistent(),
                              Records::LinkPermeabilityMismatch(), Records::LinkOnRightBoundary(),
                              Records::StepAndSlope(), Records::StepOnBoundary(),
                              Records::LevelsAtOutlineNodes(), Records::MinimalAccepted()};
    for (const Record& r : records) {
        const SeepagePath s = ComputeSeepagePath(ToInput(r));
        EXPECT_NEAR(s.DHV.back(), s.HDIFF, 2e-6f * s.HDIFF) << r.ZGWLS << "/" << r.ZGWRS;
    }
    // A one-point right flow line: the link still loses head (its section's permeability).
    const SeepagePath c7 = ComputeSeepagePath(ToInput(Records::LevelsAtOutlineNodes()));
    EXPECT_EQ(c7.KLINK, 1e-05f);
    EXPECT_EQ(c7.DHV.back(), 4.0f);
}

struct ErrorCase {
    const char* name;
    Record record;
    int number;
    const char* routine;   // "" for an error of the run itself
};

TEST(SeepagePath, RuntimeErrors)
{
    const ErrorCase cases[] = {
        {"link in an impermeable section", Records::LinkInImpermeableSection(), VbErr::DivisionByZero, ""},
        {"flow point below the deepest layer followed by another", Records::FlowPointBelowDeepestLayer(),
         VbErr::Subscript, "Neuberechnen/PHILINIE"},
        {"path of length 0", Records::ZeroPathLength(), VbErr::DivisionByZero, ""},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            ComputeSeepagePath(ToInput(c.record));
            ADD_FAILURE() << "no error";
        } catch (const RoutineError& e) {
            EXPECT_EQ(e.number(), c.number);
            EXPECT_EQ(e.routine(), QString::fromUtf8(c.routine));
        } catch (const VbError& e) {
            EXPECT_EQ(e.number(), c.number);
            EXPECT_STREQ(c.routine, "");
        }
    }
}

struct PolygonCase {
    const char* name;
    Record record;
    Vec XPL, ZPL, XPR, ZPR;
};

TEST(PressurePolygon, Polygons)
{
    const PolygonCase cases[] = {
        {"polygon example", Records::PolygonExample(), {0, 0, 0, 0}, {-2, 0, 3, 6}, {4, 4, 4}, {0, 3, 6}},
        {"level point and a node above the flow line", Records::NodesAndRightLevel(),
         {0, 0, 0, 0, 0, 0}, {-1, -0.5f, 0, 2, 3, 6}, {4, 4, 4, 4}, {1, 2, 3, 6}},
        {"first point snapped to the level's x, horizontal start dropped", Records::LevelsAtOutlineNodes(),
         {-1, -1, -1}, {2, 4, 6}, {5}, {6}},
        {"step and slope", Records::StepAndSlope(), {0, 0, -1, -1, -1, 0}, {0, 2, 2, 3, 5, 6},
         {6, 6, 6, 5}, {1.5f, 3, 4, 5.5f}},
        {"level outside the outline's depths gives x 0", Records::MinimalAccepted(), {0, 0}, {0, 6}, {0, 4}, {2, 6}},
    };
    for (const PolygonCase& c : cases) {
        SCOPED_TRACE(c.name);
        const PressurePolygons p = BuildPolygons(ToInput(c.record));
        EXPECT_EQ(p.XPL, c.XPL);
        EXPECT_EQ(p.ZPL, c.ZPL);
        EXPECT_EQ(p.XPR, c.XPR);
        EXPECT_EQ(p.ZPR, c.ZPR);
    }
    const PressurePolygons p = BuildPolygons(ToInput(Records::PolygonExample()));
    EXPECT_EQ(p.XGWL, 0.0f);
    EXPECT_EQ(p.XGWR, 4.0f);
    EXPECT_EQ(p.XBSL, (Vec{0, 0, 0}));
    EXPECT_EQ(p.XBSR, (Vec{4, 4, 0}));

    // All points at one depth: the single point (0, 0).
    Vec PX, PZ;
    KVXPOLYGON(0, 5, PX, PZ, {3}, {0}, {1, 2, 3}, {5, 5, 5}, {1, 3}, {5, 5});
    EXPECT_EQ(PX, (Vec{0}));
    EXPECT_EQ(PZ, (Vec{0}));
}

struct PressureCase {
    const char* name;
    Record record;
    Vec PL, PR;
};

TEST(PressurePolygon, Pressures)
{
    const PressureCase cases[] = {
        {"polygon example", Records::PolygonExample(), {0, 20, 49.433998f, 73.773598f}, {0, 30.566002f, 66.226402f}},
        {"symmetric box", Records::SymmetricBox(), {0, 30, 60}, {0, 30, 60}},
        {"halves round to even", Records::RoundingHalfEven(), {0, P01562, 0.4688f, 10, 30, 60}, {0, 30, 60}},
    };
    for (const PressureCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CalcInput in = ToInput(c.record);
        PressurePolygons p = BuildPolygons(in);
        ComputePressures(p, ComputeSeepagePath(in), in.ZGWLS);
        EXPECT_EQ(p.PL, c.PL);
        EXPECT_EQ(p.PR, c.PR);
    }
}

TEST(PressurePolygon, PressureAtTheRightLevelIsZero)
{
    // Above the start of the right flow line the whole head is lost, and the water
    // stands at the right level: its own vertex has pressure 0 whatever the layering.
    struct Case {
        const char* name;
        Record record;
        Vec ZPR, PR;   // PR empty: only the level's vertex is checked
    };
    const Case cases[] = {
        {"right level above the right flow line", Records::NodesAndRightLevel(), {1, 2, 3, 6}, {0, 10, Tenfold(2.01923f), Tenfold(5.59615f)}},
        {"consistent layering", Records::UnsymmetricConsistent(), {3, 4, 7}, {}},
        {"different layering on the two sides", Records::LinkPermeabilityMismatch(), {3, 4, 7}, {}},
        {"link exactly on a right boundary", Records::LinkOnRightBoundary(), {3, 4, 7}, {}},
        {"flow-line step on a layer boundary", Records::StepOnBoundary(), {1.5f, 3, 4, 5.5f}, {}},
        {"right water standing at the base", Records::LevelsAtOutlineNodes(), {6}, {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CalcInput in = ToInput(c.record);
        PressurePolygons p = BuildPolygons(in);
        ComputePressures(p, ComputeSeepagePath(in), in.ZGWLS);
        EXPECT_EQ(p.ZPR, c.ZPR);
        EXPECT_EQ(p.PR.front(), 0.0f);
        if (!c.PR.empty()) {
            EXPECT_EQ(p.PR, c.PR);
        }
    }
}

TEST(PressurePolygon, VertexWithoutTableEntryTakesInterpolatedHeadLoss)
{
    // The outline node at depth 2 ends a vertical stretch: the subdivided flow line
    // has no point there, so its head loss lies between the entries at 0 and 3.
    const CalcInput in = ToInput(Records::NodesAndRightLevel());
    PressurePolygons p = BuildPolygons(in);
    ComputePressures(p, ComputeSeepagePath(in), in.ZGWLS);
    ASSERT_EQ(p.ZPL[3], 2.0f);
    EXPECT_EQ(p.PL[3], 29.6154f);
    EXPECT_EQ(p.PL[0], 0.0f);    // the left level's own vertex
    EXPECT_EQ(p.PL[1], 5.0f);    // a node above the left flow line: hydrostatic
}

TEST(PressurePolygon, VertexPressureRounding)
{
    EXPECT_EQ(VertexPressure(0.015625f, 0, 0), P01562);
    EXPECT_EQ(VertexPressure(0.046875f, 0, 0), 0.4688f);
    EXPECT_EQ(VertexPressure(-0.015625f, 0, 0), -P01562);
    EXPECT_EQ(VertexPressure(3, -2, 0.056603774f), 49.433998f);
}

}
