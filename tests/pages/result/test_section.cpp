// The result page's section diagram: the layout row it writes and reads, the section,
// and the pressure ordinates, on the worked record and on the cases around it.
#include "ResultFixture.h"
#include "pages/result/PressureOrdinates.h"
#include "platform/ErrorGuard.h"

namespace {

// Page millimetres of the worked record's diagram: 7.4615385 mm per metre (MX =
// 13/97), the world window from x -4 and z -3 at the margins 11 and 7 mm.
double XP(double x) { return 11 + (x + 4) * 97.0 / 13.0; }
double YP(double z) { return 7 + (z + 3) * 97.0 / 13.0; }

// Lines ending at a point other than the ones given: arrow barbs there.
int barbsAt(const std::vector<Recorded>& lines, QPointF p)
{
    return int(std::count_if(lines.begin(), lines.end(), [&](const Recorded& r) {
        return touches(r, p, 2e-3) && segmentLength(r) > 0.5 && segmentLength(r) < 3;
    }));
}

class Ordinates : public ResultPages {
protected:
    RecordingSurface surface{124, 115};
    mdiSEITE1* page = nullptr;

    void SetUp() override
    {
        workedRecord();
        page = load<mdiSEITE1>();
    }
    // The ordinates alone, on the page's diagram frame (row 11 as the page left it).
    std::vector<Recorded> ordinates(const ResultSide& L, const ResultSide& R, float MSP = 5)
    {
        clsGRAFIK d(project.ctx());
        d.EOBJEKT(&surface);
        d.EAXEX(0);
        d.EAXEY(0);
        d.SKALEN(0);
        surface.records.clear();
        Guarded(project.ctx().dlg(), RoutineBox(QStringLiteral("Grafik")), [&](Guard& g) {
            DrawPressureOrdinates(g, d, {page->S, L, R, page->XBLMIN, page->XBRMAX}, MSP, d.layout().MX, project.ctx());
        });
        return surface.of(Recorded::Line);
    }
};

} // namespace

TEST_F(ResultPages, SectionDiagramOfTheWorkedRecord)
{
    const LocaleScope english(English());
    workedRecord();
    RecordedPage* page = load();
    // The defaults, the fitted bounds and the scale that fits them.
    const struct { const char* column; float value; } row[] = {
        {"OX", 1}, {"OY", -1}, {"RL", 11}, {"RR", 7}, {"RO", 7}, {"RU", 11}, {"MYMX", 1}, {"MSP", 5},
        {"XMIN", -4}, {"XMAX", 8}, {"YMIN", -3}, {"YMAX", 10}, {"MX", 13.0f / 97.0f}, {"MY", 13.0f / 97.0f}};
    for (const auto& c : row)
        EXPECT_FLOAT_EQ(CSng(layout(11, c.column)), c.value) << c.column;

    const auto lines = page->lines(11);
    const int32_t lightBlue = Palette(9), green = Palette(2);
    EXPECT_TRUE(drawn(lines, {{11, YP(-2)}, {XP(0), YP(-2)}}, 0, lightBlue));          // left water line
    EXPECT_TRUE(drawn(lines, {{XP(8), YP(0)}, {XP(4), YP(0)}}, 0, lightBlue));         // right water line
    EXPECT_TRUE(drawn(lines, {{XP(0), YP(-3)}, {XP(0), YP(6)}}, 0, 0));                // outlines
    EXPECT_TRUE(drawn(lines, {{XP(4), YP(-3)}, {XP(4), YP(6)}}, 0, 0));
    EXPECT_TRUE(drawn(lines, {{XP(0), YP(6)}, {XP(4), YP(6)}}, 0, 0));                 // base link
    EXPECT_TRUE(drawn(lines, {{XP(0) - 1, YP(0)}, {XP(0) - 1, YP(6)}}, 1, green));     // flow lines 1 mm aside
    EXPECT_TRUE(drawn(lines, {{XP(4) + 1, YP(0)}, {XP(4) + 1, YP(6)}}, 1, green));
    EXPECT_TRUE(drawn(lines, {{XP(0), YP(6) + 1}, {XP(4), YP(6) + 1}}, 1, green));     // and 1 mm below
    EXPECT_TRUE(drawn(lines, {{11, YP(3)}, {XP(0), YP(3)}}, 0, 0));                    // layer boundaries
    EXPECT_TRUE(drawn(lines, {{XP(8), YP(3)}, {XP(4), YP(3)}}, 0, 0));

    QStringList labels;
    for (const Recorded& t : page->area(11).records)
        if (t.kind == Recorded::Text || t.kind == Recorded::RotatedText)
            labels << t.text;
    for (const char* label : {"-4.0", "0.0", "4.0", "8.0", "-3.0", "10.0", "x [m]", "z [m]"})
        EXPECT_TRUE(labels.contains(QLatin1String(label))) << label;
    EXPECT_FALSE(labels.contains(QStringLiteral("2.0")));   // range 12: a label every third tick
}

TEST_F(ResultPages, StoredLayoutIsOnlyReadOnceTheResultsAreConfirmed)
{
    workedRecord();
    project.exec(QStringLiteral("UPDATE A1 SET BONEU = 0"));
    project.exec(QStringLiteral("INSERT INTO G0 (ID, IDOBJEKT, OX, OY, RL, RR, RO, RU, XMIN, XMAX, YMIN, YMAX, MYMX, "
                                "MX, MY, MSP) VALUES (1, 11, 1, -1, 11, 7, 7, 11, -10, 10, -5, 15, 1, 0.25, 0.25, 2)"));
    const auto row = [&] {
        return project.scalar(QStringLiteral("SELECT XMIN || ' ' || XMAX || ' ' || YMIN || ' ' || YMAX || ' ' || MX "
                                             "|| ' ' || MY || ' ' || MSP FROM G0 WHERE ID = 1 AND IDOBJEKT = 11"));
    };
    const Variant before = row();
    RecordedPage* page = load();
    page->DRUCKEN();
    EXPECT_EQ(row(), before);
    // Nor are the legend's and the strip's defaults written (their scales, computed by
    // the diagram class where they are 0, are all it stores).
    EXPECT_EQ(CLng(project.scalar(QStringLiteral("SELECT COUNT(*) FROM G0 WHERE IDOBJEKT IN (17, 18) AND "
                                                 "(OX IS NOT NULL OR OY IS NOT NULL OR RL IS NOT NULL)"))), 0);
    // Scales of 0 (as the diagram dialog leaves them) are computed and stored, nothing else.
    project.exec(QStringLiteral("UPDATE G0 SET MX = 0, MY = 0 WHERE IDOBJEKT = 11"));
    page->BILD11();
    // The z range 20 over 97 mm needs the larger scale; equal scales take it for x too.
    EXPECT_FLOAT_EQ(CSng(layout(11, "MX")), 20.0f / 97);
    EXPECT_FLOAT_EQ(CSng(layout(11, "MY")), 20.0f / 97);
    EXPECT_FLOAT_EQ(CSng(layout(11, "XMIN")), -10.0f);
    EXPECT_FLOAT_EQ(CSng(layout(11, "MSP")), 2.0f);
}

TEST_F(ResultPages, NewResultsFitTheScalesAnew)
{
    // A row left from an earlier geometry: its scales would clip the new section.
    workedRecord();
    project.exec(QStringLiteral("INSERT INTO G0 (ID, IDOBJEKT, XMIN, XMAX, YMIN, YMAX, MX, MY, MSP) "
                                "VALUES (1, 11, 0, 2, 0, 2, 0.5, 0.5, 1)"));
    load();
    EXPECT_FLOAT_EQ(CSng(layout(11, "MX")), 13.0f / 97.0f);
    EXPECT_FLOAT_EQ(CSng(layout(11, "MY")), 13.0f / 97.0f);
    EXPECT_FLOAT_EQ(CSng(layout(11, "MSP")), 5.0f);
    // The strip's and the legend's grids.
    for (int nr : {17, 18}) {
        const struct { const char* column; float value; } grid[] = {
            {"OX", 1}, {"OY", -1}, {"RL", 0}, {"RR", 0}, {"RO", 0}, {"RU", 0}, {"MX", 1}, {"MY", 1}};
        for (const auto& c : grid)
            EXPECT_FLOAT_EQ(CSng(layout(nr, c.column)), c.value) << nr << " " << c.column;
    }
    EXPECT_FLOAT_EQ(CSng(layout(17, "MSP")), 0.5f);
    EXPECT_TRUE(layout(18, "MSP").isNull() || CSng(layout(18, "MSP")) == 0.0f);
}

TEST_F(Ordinates, WorkedRecord)
{
    const auto lines = ordinates(page->L, page->R);
    const double xL = XP(-0.5), xR = XP(4.5);
    const int32_t lightBlue = Palette(9);
    // Left segment 3 m to 6 m, vertical: hydrostatic 50 and 80 kN/m² (10 and 16 mm) on
    // a dotted reference line 0.5 m beside the structure; the actual 49.43 and 73.77.
    EXPECT_TRUE(drawn(lines, {{xL, YP(3)}, {xL - 10, YP(3)}, {xL - 16, YP(6)}, {xL, YP(6)}}, 1, 0));
    EXPECT_TRUE(drawn(lines, {{xL, YP(3)}, {xL, YP(6)}}, 2, lightBlue));
    EXPECT_TRUE(drawn(lines, {{xL, YP(3)}, {xL - 9.8868, YP(3)}, {xL - 14.7547, YP(6)}, {xL, YP(6)}}, 0, lightBlue));
    EXPECT_GE(barbsAt(lines, {xL, YP(3)}), 2);   // arrow heads onto the reference line
    // The base: hydrostatic 80 and 60 kN/m² hanging from 5 mm below it; actual 73.77, 66.23.
    const double base = YP(6) + 5;
    EXPECT_TRUE(drawn(lines, {{XP(0), base}, {XP(0), base + 16}, {XP(4), base + 12}, {XP(4), base}}, 1, 0));
    EXPECT_TRUE(drawn(lines, {{XP(0), base}, {XP(4), base}}, 2, lightBlue));
    EXPECT_TRUE(drawn(lines, {{XP(0), base}, {XP(0), base + 14.7547}, {XP(4), base + 13.2453}, {XP(4), base}}, 0,
                      lightBlue));
    // Right segment 3 m to 6 m: hydrostatic 30 and 60 kN/m², actual 30.57 and 66.23, outward.
    EXPECT_TRUE(drawn(lines, {{xR, YP(3)}, {xR + 6, YP(3)}, {xR + 12, YP(6)}, {xR, YP(6)}}, 1, 0));
    EXPECT_TRUE(drawn(lines, {{xR, YP(3)}, {xR + 6.1132, YP(3)}, {xR + 13.2453, YP(6)}, {xR, YP(6)}}, 0, lightBlue));
    EXPECT_TRUE(project.dialogs().shown.empty());
}

TEST_F(Ordinates, WhatIsNotDrawn)
{
    const auto atX = [](const std::vector<Recorded>& lines, double x) {
        return std::count_if(lines.begin(), lines.end(), [&](const Recorded& r) {
            return std::abs(r.p1.x() - x) < 2e-3 || std::abs(r.p2.x() - x) < 2e-3;
        });
    };
    const double base = YP(6) + 5;
    const auto atBase = [&](const std::vector<Recorded>& lines) {
        return std::count_if(lines.begin(), lines.end(), [&](const Recorded& r) {
            return std::abs(r.p1.y() - base) < 2e-3 || std::abs(r.p2.y() - base) < 2e-3;
        });
    };
    // No pressure scale: no ordinate at all, and no box.
    EXPECT_TRUE(ordinates(page->L, page->R, 0).empty());
    EXPECT_TRUE(ordinates(page->L, page->R, -5).empty());
    // A side without points: none of its own, none at the base; the other side as ever.
    ResultSide none;
    auto lines = ordinates(none, page->R);
    EXPECT_EQ(atX(lines, XP(-0.5)), 0);
    EXPECT_EQ(atBase(lines), 0);
    EXPECT_GT(atX(lines, XP(4.5)), 0);
    lines = ordinates(page->L, none);
    EXPECT_EQ(atX(lines, XP(4.5)), 0);
    EXPECT_EQ(atBase(lines), 0);
    // Both sides ending in one point: a pointed base has no base ordinates.
    ResultSide pointed = page->R;
    pointed.V.X.back() = page->L.V.X.back();
    EXPECT_EQ(atBase(ordinates(page->L, pointed)), 0);
    EXPECT_TRUE(project.dialogs().shown.empty());
}

TEST_F(Ordinates, HorizontalSectionsStandAboveOrBelowByThePressure)
{
    // A flat section from (x 0, z 2) to (x 1, z 3): pushed down, 5 mm below its deeper
    // end; otherwise 5 mm above its shallower end.
    ResultSide side;
    side.H.MAX = 0;
    side.H.Z1 = {2}; side.H.X1 = {0}; side.H.WH1 = {0};
    side.H.Z2 = {3}; side.H.X2 = {1}; side.H.WH2 = {0}; side.H.WV2 = {-10};
    for (float wv : {-10.0f, 0.0f}) {
        side.H.WV1 = {wv};
        const double level = wv < 0 ? YP(3) + 5 : YP(2) - 5;
        const auto lines = ordinates(side, ResultSide{});
        EXPECT_TRUE(drawn(lines, {{XP(0), level}, {XP(0), level - wv / 5}, {XP(1), level + 2}, {XP(1), level}}, 0,
                          Palette(9)))
            << wv;
    }
}

TEST_F(ResultPages, CrossCursorShowsTheSectionCoordinates)
{
    const LocaleScope german(German());
    workedRecord();
    auto* page = load<mdiSEITE1>();
    page->picBILD11_MouseDown(1, 0, 0, 0);
    page->picBILD11_MouseMove(0, 0, float(XP(-0.5)), float(YP(3)));
    EXPECT_EQ(page->picBILD(11).toolTip(), QStringLiteral("x = -0,50; z = 3,00"));
}
