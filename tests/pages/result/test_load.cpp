// The result page's load: what it reads, the table bodies it builds, the bar it
// advances, and a load that ends at an input list without rows.
#include "ResultFixture.h"
#include "platform/Format.h"
#include "platform/Twips.h"
#include "support/ImageProbe.h"
#include <QElapsedTimer>
#include <QRegularExpression>

namespace {

// The rows of a table body as texts, cells formatted "0.00" and joined by "|".
QStringList rowsOf(const VariantMatrix& body)
{
    QStringList rows;
    for (int r = 0; r < body.rows(); ++r) {
        QStringList cells;
        for (int c = 0; c < body.columns(); ++c)
            cells << Format(body(c, r), QStringLiteral("0.00"));
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

VerticalSections polyline(std::vector<std::array<float, 2>> zx)
{
    VerticalSections v;
    v.MAX = int16_t(zx.size()) - 1;
    for (std::size_t i = 0; i < zx.size(); ++i) {
        v.Z.push_back(zx[i][0]);
        v.X.push_back(zx[i][1]);
        v.WHO.push_back(float(10 * i + 1));   // above the point
        v.WVO.push_back(0);
        v.WHU.push_back(float(10 * i + 2));   // below it
        v.WVU.push_back(0);
    }
    return v;
}

} // namespace

TEST_F(ResultPages, WorkedRecordIsReadAndDrawnOnce)
{
    const LocaleScope english(English());
    workedRecord();
    RecordedPage* page = load();
    ASSERT_TRUE(page->complete());
    EXPECT_TRUE(project.dialogs().shown.empty());
    // Between the fixed steps the bar moves on with each column of results read (six for
    // each side's vertical sections; no horizontal ones) and each ordinate drawn (three
    // and two segments, hydrostatic and actual, and the base's two).
    ExpectBar(BarValues({15, 23, 31, 39, 47, 55, 63, 68, Span{68, 69, 6}, Span{69, 70, 6}, 73, 75, 77, 79, 81,
                         Span{81, 89, 12}, 90, 91, 92, 93, 94, 95, 96, 97, 100}));

    EXPECT_EQ(page->ID, 1);
    EXPECT_EQ(page->L.V.MAX, 3);
    EXPECT_EQ(page->R.V.MAX, 2);
    EXPECT_EQ(page->L.H.MAX, -1);
    EXPECT_EQ(page->R.H.MAX, -1);
    EXPECT_EQ(page->S.XGWLS, 0.0f);
    EXPECT_EQ(page->S.XGWRS, 4.0f);
    EXPECT_EQ(page->S.R.XS, (std::vector<float>{4, 4, 0}));   // the boundary at 10 m lies below the outline
    EXPECT_EQ(page->XBLMIN, 0.0f);
    EXPECT_EQ(page->XBRMAX, 4.0f);
    EXPECT_EQ(rowsOf(page->TABVL), (QStringList{"-2.00|0.00|u|0.00|0.00", "0.00|0.00|o|-20.00|0.00",
                                               "0.00|0.00|u|-20.00|0.00", "3.00|0.00|o|-49.43|0.00",
                                               "3.00|0.00|u|-49.43|0.00", "6.00|0.00|o|-73.77|0.00"}));
    EXPECT_EQ(rowsOf(page->TABVR), (QStringList{"0.00|4.00|u|0.00|0.00", "3.00|4.00|o|30.57|0.00",
                                               "3.00|4.00|u|30.57|0.00", "6.00|4.00|o|66.23|0.00"}));
    EXPECT_EQ(rowsOf(page->TABS), (QStringList{"Links|6.00|0.00|0.00|-73.77", "Rechts|6.00|4.00|0.00|-66.23"}));

    // Every area drawn once; the flag of new results is cleared in the page only.
    EXPECT_EQ(page->areas.size(), 8u);
    EXPECT_FALSE(page->BONEU);
    EXPECT_EQ(project.scalar(QStringLiteral("SELECT BONEU FROM A1 WHERE ID = 1")), Variant(true));

    // Loading again changes nothing.
    bar.clear();
    page->Form_Load();
    EXPECT_TRUE(bar.empty());
}

TEST_F(ResultPages, AreasStandAtTheirPlaces)
{
    workedRecord();
    auto* page = load<mdiSEITE1>();
    const struct { int nr; QRectF mm; } places[] = {
        {11, {13, 30, 124, 115}}, {18, {13, 145, 124, 15}}, {17, {137, 30, 124, 7}}, {16, {137, 137, 124, 23}},
        {12, {137, 37, 62, 50}},  {13, {199, 37, 62, 50}},  {14, {137, 87, 62, 50}}, {15, {199, 87, 62, 50}}};
    for (const auto& p : places) {
        const PictureBox& pic = page->picBILD(int16_t(p.nr));
        EXPECT_EQ(pic.pos(), QPoint(qRound(p.mm.left() * TwipsPerMm / TwipsPerPixel),
                                    qRound(p.mm.top() * TwipsPerMm / TwipsPerPixel))) << p.nr;
        EXPECT_NEAR(pic.Width(), p.mm.width() * TwipsPerMm, 1e-6) << p.nr;
        EXPECT_NEAR(pic.Height(), p.mm.height() * TwipsPerMm, 1e-6) << p.nr;
        EXPECT_EQ(pic.objectName(), QStringLiteral("picBILD%1").arg(p.nr));
    }
    // The first picture box in the page's order is the section diagram's.
    EXPECT_EQ(page->findChildren<PictureBox*>(QRegularExpression("^picBILD")).first()->objectName(),
              QStringLiteral("picBILD11"));
}

TEST_F(ResultPages, AnInputListWithoutRowsEndsTheLoadAndThePageStaysQuiet)
{
    // The header and footer are drawn before the lists are read.
    expectQuietAfterAnEmptyList<RecordedPage>(true);
}

TEST(ResultSectionBodies, VerticalSectionsSkipLevelSegments)
{
    const LocaleScope english(English());
    struct Case { const char* name; VerticalSections v; QStringList rows; };
    const Case cases[] = {
        {"vertical, level, vertical", polyline({{0, 0}, {2, 0}, {2, 3}, {5, 3}}),
         {"0.00|0.00|u|2.00|0.00", "2.00|0.00|o|11.00|0.00", "2.00|3.00|u|22.00|0.00", "5.00|3.00|o|31.00|0.00"}},
        {"all vertical", polyline({{0, 0}, {1, 0}, {2, 0}}),
         {"0.00|0.00|u|2.00|0.00", "1.00|0.00|o|11.00|0.00", "1.00|0.00|u|12.00|0.00", "2.00|0.00|o|21.00|0.00"}},
        {"a segment of length 0 is not level", polyline({{1, 1}, {1, 1}}),
         {"1.00|1.00|u|2.00|0.00", "1.00|1.00|o|11.00|0.00"}},
        // No row: one row whose cells show nothing, not zeros.
        {"single point", polyline({{4, 4}}), {"||||"}},
        {"only a level segment", polyline({{4, 0}, {4, 2}}), {"||||"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rowsOf(VerticalSectionBody(c.v)), c.rows) << c.name;
}

TEST(ResultSectionBodies, ALongStructureIsBuiltInTimeLinearInItsRows)
{
    // 3,001 points down a vertical wall give 6,000 rows; a body copied anew for every
    // row it gained took half a minute in a debug build.
    std::vector<std::array<float, 2>> wall;
    for (int i = 0; i <= 3000; ++i)
        wall.push_back({0.001f * float(i), 0});
    const VerticalSections v = polyline(wall);
    QElapsedTimer clock;
    clock.start();
    const VariantMatrix body = VerticalSectionBody(v);
    EXPECT_LT(clock.elapsed(), 1000);
    ASSERT_EQ(body.rows(), 6000);
    EXPECT_EQ(body(0, 5999), Variant(0.001f * 3000.0f));
    EXPECT_EQ(body(2, 5999), Variant(QStringLiteral("o")));
    EXPECT_EQ(body(3, 5999), Variant(float(10 * 3000 + 1)));
}

TEST(ResultSectionBodies, HorizontalSectionsGiveStartAndEndRows)
{
    const LocaleScope english(English());
    HorizontalSections h;
    h.MAX = 2;
    for (int i = 0; i < 3; ++i) {
        h.Z1.push_back(float(i)); h.X1.push_back(0); h.WH1.push_back(0); h.WV1.push_back(-1);
        h.Z2.push_back(float(i)); h.X2.push_back(1); h.WH2.push_back(0); h.WV2.push_back(-2);
    }
    EXPECT_EQ(rowsOf(HorizontalSectionBody(h)),
              (QStringList{"0.00|0.00|0.00|-1.00", "0.00|1.00|0.00|-2.00", "1.00|0.00|0.00|-1.00",
                           "1.00|1.00|0.00|-2.00", "2.00|0.00|0.00|-1.00", "2.00|1.00|0.00|-2.00"}));
}
