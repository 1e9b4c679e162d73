// The input-graphic page's load: what it reads, the table bodies it builds, the bar it
// advances, where its areas stand, and a load that ends at an input list without rows.
#include "InputFixture.h"
#include "platform/Format.h"
#include "platform/Twips.h"
#include "support/ImageProbe.h"
#include <QRegularExpression>

namespace {

// The rows of a two-column body as texts, z as "0.00", the second column by the pattern
// given, joined by "|".
QStringList rowsOf(const VariantMatrix& body, const char* second = "0.00")
{
    QStringList rows;
    for (int r = 0; r < body.rows(); ++r)
        rows << Format(body(0, r), QStringLiteral("0.00")) + QLatin1Char('|')
                    + Format(body(1, r), QLatin1String(second));
    return rows;
}

} // namespace

TEST_F(InputPages, WorkedRecordIsReadAndDrawnOnce)
{
    const LocaleScope english(English());
    workedRecord();
    RecordedInputPage* page = load();
    ASSERT_TRUE(page->complete());
    EXPECT_TRUE(project.dialogs().shown.empty());
    EXPECT_EQ(bar, (std::vector<float>{5, 10, 13, 15, 23, 31, 39, 47, 55, 63, 68, 70, 73, 75, 77, 79, 81, 83, 85,
                                       87, 89, 91, 93, 95, 96, 97}));
    EXPECT_EQ(page->ID, 1);
    EXPECT_EQ(rowsOf(page->TABSL, "0.00E+00"), (QStringList{"0.00|GOK", "3.00|1.00E-04", "10.00|1.00E-05"}));
    EXPECT_EQ(rowsOf(page->TABSR, "0.00E+00"), (QStringList{"0.00|GOK", "3.00|1.00E-04", "10.00|1.00E-05"}));
    EXPECT_EQ(rowsOf(page->TABBL), (QStringList{"-3.00|0.00", "6.00|0.00"}));
    EXPECT_EQ(rowsOf(page->TABBR), (QStringList{"-3.00|4.00", "6.00|4.00"}));
    EXPECT_EQ(rowsOf(page->TABSTL), (QStringList{"0.00|0.00", "6.00|0.00"}));
    EXPECT_EQ(rowsOf(page->TABSTR), (QStringList{"0.00|4.00", "6.00|4.00"}));

    // Every area drawn once, the header too; the flag of new results is cleared in the
    // page only.
    EXPECT_EQ(page->areas.size(), 9u);
    EXPECT_FALSE(inkBox(page->Surface().Image(), QRect(0, 0, 300, 60)).isNull());
    EXPECT_FALSE(page->BONEU);
    EXPECT_EQ(project.scalar(QStringLiteral("SELECT BONEU FROM A1 WHERE ID = 1")), Variant(true));

    // Loading again changes nothing.
    bar.clear();
    page->areas.clear();
    page->Form_Load();
    EXPECT_TRUE(bar.empty());
    EXPECT_TRUE(page->areas.empty());
}

TEST_F(InputPages, AreasStandAtTheirPlacesInTheirOrder)
{
    workedRecord();
    auto* page = load<mdiESEITE1>();
    const struct { int nr; QRectF mm; } places[] = {
        {11, {15, 30, 120, 115}}, {19, {15, 145, 120, 15}}, {18, {135, 30, 120, 13}},
        {12, {135, 43, 60, 39}},  {13, {195, 43, 60, 39}},  {14, {135, 82, 60, 39}},
        {15, {195, 82, 60, 39}},  {16, {135, 121, 60, 39}}, {17, {195, 121, 60, 39}}};
    QStringList order;
    for (const PictureBox* pic : page->PictureBoxes())
        order << pic->objectName();
    QStringList expected;
    for (const auto& p : places) {
        expected << QStringLiteral("picBILD%1").arg(p.nr);
        const PictureBox& pic = page->picBILD(int16_t(p.nr));
        EXPECT_EQ(pic.pos(), QPoint(qRound(p.mm.left() * TwipsPerMm / TwipsPerPixel),
                                    qRound(p.mm.top() * TwipsPerMm / TwipsPerPixel))) << p.nr;
        EXPECT_NEAR(pic.Width(), p.mm.width() * TwipsPerMm, 1e-6) << p.nr;
        EXPECT_NEAR(pic.Height(), p.mm.height() * TwipsPerMm, 1e-6) << p.nr;
        // Only the tables have a scroll bar.
        EXPECT_EQ(page->vscBILD(int16_t(p.nr)) != nullptr, p.nr >= 12 && p.nr <= 17) << p.nr;
    }
    EXPECT_EQ(order, expected);
}

TEST_F(InputPages, AnInputListWithoutRowsEndsTheLoadAndThePageStaysEmpty)
{
    // Not even the header and footer: they come after the lists.
    expectQuietAfterAnEmptyList<RecordedInputPage>(false);
}

TEST_F(InputPages, ListsOfOneRowPass)
{
    const LocaleScope english(English());
    workedRecord();
    project.exec(QStringLiteral("DELETE FROM E3 WHERE ID = 1 AND I1 > 0"));
    project.exec(QStringLiteral("DELETE FROM E4 WHERE ID = 1 AND I2 > 0"));
    project.exec(QStringLiteral("DELETE FROM E5 WHERE ID = 1 AND I3 > 0"));
    RecordedInputPage* page = load();
    ASSERT_TRUE(page->complete());
    EXPECT_EQ(rowsOf(page->TABSL, "0.00E+00"), QStringList{"0.00|GOK"});
    EXPECT_EQ(rowsOf(page->TABBR), QStringList{"-3.00|4.00"});
    EXPECT_EQ(page->areas.size(), 9u);
    EXPECT_TRUE(project.dialogs().shown.empty());
}
