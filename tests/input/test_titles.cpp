// The grid table's fonts, the marked-up column titles on the title picture, and the
// column tooltips.
#include "InputFixture.h"
#include "support/ImageProbe.h"
#include "draw/Markup.h"
#include "input/TitleLine.h"
#include "platform/Colors.h"
#include "platform/PainterSurface.h"
#include "platform/RecordingSurface.h"

#include <QApplication>
#include <QMouseEvent>

namespace {

// A five-column table with one index column, in a grid too narrow for all of them.
void bindWideTable(clsFLX& flx, FlexGrid& grid)
{
    grid.setGeometry(20, 40, 150, 220);
    grid.setCols(5);
    flx.EFLX(&grid);
    flx.ELSB(Dynamic::Integers({12, 15, 15, 15, 15}));
    flx.ELST1(Dynamic::Texts({"0", "i", "ii", "WWWW", "x"}));
    flx.ELSTTT(Dynamic::Texts({"t0", "t1", "t2", "t3", "t4"}));
    flx.ELSTYP(Dynamic::Integers({1, 0, 0, 0, 0}));
}

} // namespace

TEST_F(GridTableTest, FontSettingsSetTheGridTheEditorsAndTheTitleFonts)
{
    flx->EFLX(grid);
    flx->ETXT(txt);
    flx->ECBO(cbo);
    struct Case {
        int16_t size;
        float gridSize, indexSize;
    } cases[] = {{9, 9.0f, 8.0f}, {0, 11.0f, 9.0f}, {14, 14.0f, 12.0f}};
    for (const auto& c : cases) {
        flx->SCHRIFTEINSTELLUNGEN(QString(), c.size);
        EXPECT_EQ(grid->Font().Name, QStringLiteral("Arial"));
        EXPECT_EQ(grid->Font().Size, c.gridSize);
        const auto& fonts = flx->fontSet();
        EXPECT_EQ(fonts[2].Size, c.gridSize);
        EXPECT_EQ(fonts[3].Name, QStringLiteral("Symbol"));
        EXPECT_EQ(fonts[4].Size, c.indexSize) << c.size;
        EXPECT_EQ(fonts[5].Size, c.indexSize);
        EXPECT_EQ(fonts[5].Name, QStringLiteral("Symbol"));
        const QFont expected = ResolveFont(grid->Font(), TwipsDpi);
        EXPECT_EQ(txt->font().pixelSize(), expected.pixelSize());
        EXPECT_EQ(cbo->font().families(), expected.families());
    }
    flx->SCHRIFTEINSTELLUNGEN(QStringLiteral("Courier New"), 10, true, false, true, LongFromColor(QBColor(4)));
    EXPECT_EQ(grid->Font().Name, QStringLiteral("Courier New"));
    EXPECT_TRUE(grid->Font().Bold);
    EXPECT_TRUE(grid->Font().Italic);
    EXPECT_EQ(grid->ForeColor(), QBColor(4));
    EXPECT_EQ(txt->palette().color(QPalette::Text), QBColor(4));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(GridTableTest, HeaderIsOneOrTwoTitleLinesHigh)
{
    flx->EFLX(grid);
    flx->SCHRIFTEINSTELLUNGEN(QString(), 9);
    const int line = grid->CellHeight();
    EXPECT_EQ(grid->RowHeight(0), line);
    flx->ELST2(Dynamic::Texts({"[m]", "[m]", "[m]"}));
    flx->SCHRIFTEINSTELLUNGEN(QString(), 9);
    EXPECT_EQ(grid->RowHeight(0), 2 * line);
}

TEST_F(GridTableTest, TitlesAreCentredOnTheColumnsInView)
{
    bindLayerTable();
    ASSERT_TRUE(boxes().empty());
    const double w[] = {680, 850, 1134};
    EXPECT_NEAR(pic->Width(), w[0] + w[1] + w[2], 0.01);
    EXPECT_NEAR(pic->Height(), grid->RowHeight(0), 0.01);
    EXPECT_EQ(pic->pos(), QPoint(22, 42));   // half a millimetre into the grid's corner

    // Each title and its unit are centred on their column, the unit in the lower half.
    const QImage img = pic->Image();
    const int half = img.height() / 2;
    double left = TwipsPerMm;
    for (double width : w) {
        const QRect column(int(left / TwipsPerPixel), 0, int(width / TwipsPerPixel), img.height());
        const QRect title = inkBox(img, QRect(column.left(), 0, column.width(), half));
        const QRect unit = inkBox(img, QRect(column.left(), half, column.width(), img.height() - half));
        ASSERT_FALSE(title.isNull());
        ASSERT_FALSE(unit.isNull());
        const double centre = (left + width / 2) / TwipsPerPixel;
        EXPECT_NEAR(title.center().x(), centre, 2.0);
        EXPECT_NEAR(unit.center().x(), centre, 2.0);
        left += width;
    }

    // Wider than the grid: the picture ends 1 mm inside it, or 5.5 mm with a vertical
    // scroll bar (not every row in view).
    grid->resize(150, 220);
    flx->BESCHRIFTEN();
    EXPECT_NEAR(pic->Width(), grid->Width() - 56.7, 0.01);
    grid->setRows(200);
    flx->BESCHRIFTEN();
    EXPECT_NEAR(pic->Width(), grid->Width() - 311.85, 0.01);
}

TEST_F(GridTableTest, ScrolledOutColumnsGetNoTitle)
{
    bindWideTable(*flx, *grid);
    flx->EPIC(pic);
    flx->SCHRIFTEINSTELLUNGEN(QString(), 9);
    wire();
    grid->setLeftCol(3);   // the scroll event redraws the titles
    ASSERT_TRUE(boxes().empty());
    const QImage img = pic->Image();
    // The wide title of column 3 now stands right of the index column's.
    const int start = int((56.7 + 680) / TwipsPerPixel);
    const QRect next = inkBox(img, QRect(start, 0, 850 / TwipsPerPixel, img.height()));
    EXPECT_GT(next.width(), 20);
    EXPECT_NEAR(next.center().x(), (56.7 + 680 + 425) / TwipsPerPixel, 2.0);
}

TEST_F(GridTableTest, TitleLineDrawsMarkedUpRuns)
{
    RecordingSurface picture(100, 20);
    picture.setScaleMode(ScaleModes::Twips);
    picture.setFont(FontSpec{QStringLiteral("Arial"), 9.0f});
    std::array<FontSpec, 6> fonts;
    DeriveFontSet(FontSpec{QStringLiteral("Arial"), 9.0f}, fonts);
    const double charWidth = RecordingSurface::kCharWidthMm * TwipsPerMm;   // at 8 points
    const double lineHeight = RecordingSurface::kCellHeightMm * TwipsPerMm;

    DrawTitleLine(picture, fonts, 1000, 0, Variant("k{t,1}f"), 1, 0);
    auto runs = picture.of(Recorded::Text);
    ASSERT_EQ(runs.size(), 2u);
    const double x0 = 1000 - charWidth * 9 / 8;   // centred by the width of "kf" in font 0
    EXPECT_EQ(runs[0].text, QStringLiteral("k"));
    EXPECT_EQ(runs[0].font.Size, 9.0f);
    EXPECT_NEAR(runs[0].p1.x(), x0, 0.01);
    EXPECT_NEAR(runs[0].p1.y(), 0.0, 0.01);
    EXPECT_EQ(runs[1].text, QStringLiteral("f"));
    EXPECT_EQ(runs[1].font.Size, 8.0f);
    EXPECT_NEAR(runs[1].p1.x(), x0 + charWidth * 9 / 8, 0.01);
    EXPECT_NEAR(runs[1].p1.y(), 0.35 * lineHeight, 0.01);
    EXPECT_EQ(picture.Font().Size, 9.0f);   // back in font 0

    // Greek is not raised; a group without a comma ends the line without a word; a
    // malformed group is an error once the runs before it stand.
    picture.records.clear();
    DrawTitleLine(picture, fonts, 0, 0, Variant("a{g,1}b"), 0, 0);
    runs = picture.of(Recorded::Text);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[1].font.Name, QStringLiteral("Symbol"));
    EXPECT_NEAR(runs[1].p1.y(), 0.0, 0.01);
    picture.records.clear();
    DrawTitleLine(picture, fonts, 0, 0, Variant("a{t1}b"), 0, 0);
    runs = picture.of(Recorded::Text);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].text, QStringLiteral("a"));
    picture.records.clear();
    EXPECT_EQ(VbErrorOf([&] { DrawTitleLine(picture, fonts, 0, 0, Variant("x{t,1"), 0, 0); }), VbErr::InvalidCall);
    EXPECT_EQ(picture.of(Recorded::Text).at(0).text, QStringLiteral("x"));
    picture.records.clear();
    DrawTitleLine(picture, fonts, 0, 0, Variant::Null(), 1, 0);
    for (const Recorded& r : picture.of(Recorded::Text))
        EXPECT_TRUE(r.text.isEmpty());

    // In the table, a malformed title shows the title box and the other titles stand.
    flx->EFLX(grid);
    flx->EPIC(pic);
    flx->ELST1(Dynamic::Texts({"x{t,1", "b", "c"}));
    answer(MsgResult::OK);
    flx->BESCHRIFTEN();
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].title, QStringLiteral("MSFlexGrid / Text"));
    EXPECT_TRUE(boxes()[0].text.startsWith(QStringLiteral("VB-Error: 5\n")));
}

TEST_F(GridTableTest, TooltipFollowsTheColumnUnderThePointer)
{
    bindLayerTable();
    wire();
    struct Case {
        float x;
        const char* tip;
    } cases[] = {
        {679.9f, "laufende Nr. der Schichtkote"},
        {680.0f, "z-Koordinate der Schichtkote"},   // a right edge belongs to the next column
        {2663.9f, "k-Wert des darüberliegenden Abschnittes"},
        {2664.0f, ""},
    };
    for (const auto& c : cases) {
        flx->TOOLTIP(c.x, 0);
        EXPECT_EQ(grid->ToolTipText(), QString::fromUtf8(c.tip)) << c.x;
        EXPECT_EQ(pic->toolTip(), QString::fromUtf8(c.tip)) << c.x;
    }

    // The pointer moving over the grid and over the title picture.
    const QPoint over = CellPoint(*grid, 1, 1);
    QMouseEvent move(QEvent::MouseMove, over, grid->viewport()->mapToGlobal(over), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &move);
    EXPECT_EQ(grid->ToolTipText(), QStringLiteral("z-Koordinate der Schichtkote"));
    QMouseEvent overPicture(QEvent::MouseMove, QPointF(5, 5), pic->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                            Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(pic, &overPicture);
    EXPECT_EQ(pic->toolTip(), QStringLiteral("laufende Nr. der Schichtkote"));

    // Columns scrolled out of view are passed over.
    FlexGrid* narrow = new FlexGrid(&window);
    narrow->show();
    clsFLX wide(ctx);
    bindWideTable(wide, *narrow);
    narrow->setLeftCol(3);
    wide.TOOLTIP(680 + 10, 0);
    EXPECT_EQ(narrow->ToolTipText(), QStringLiteral("t3"));
    EXPECT_TRUE(boxes().empty());
}
