// The drawing surfaces: flag words, circles, fonts and text metrics, rotated text,
// the picture box's image and the printer's PDF page.
#include "support/ImageProbe.h"
#include "platform/PainterSurface.h"
#include "platform/PictureBox.h"
#include "platform/RecordingSurface.h"
#include "platform/SymbolFont.h"
#include "platform/VbError.h"
#include "support/TestHelpers.h"
#include <QFontInfo>
#include <gtest/gtest.h>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

} // namespace

TEST(Surface, LineFlagWordsAndCurrentPosition)
{
    RecordingSurface s;
    s.Line(14, 1, 1, 2, 0, 0);          // first point, step, colour
    EXPECT_DOUBLE_EQ(s.CurrentX(), 3.0);
    EXPECT_DOUBLE_EQ(s.CurrentY(), 1.0);
    s.Line(10, 0, 0, 0, 2, 0);          // from the current position
    s.Line(46, 5, 5, 1, 1, 255);        // filled box, step
    s.Line(30, 5, 5, 2, 3, 0);          // box outline
    ASSERT_EQ(s.records.size(), 4u);
    EXPECT_NEAR(s.records[0].p1.x(), 1.0, 1e-9);
    EXPECT_NEAR(s.records[0].p1.y(), 1.0, 1e-9);
    EXPECT_NEAR(s.records[0].p2.x(), 3.0, 1e-9);
    EXPECT_NEAR(s.records[0].p2.y(), 1.0, 1e-9);
    EXPECT_NEAR(s.records[1].p1.x(), 3.0, 1e-9);
    EXPECT_NEAR(s.records[1].p1.y(), 1.0, 1e-9);
    EXPECT_NEAR(s.records[1].p2.y(), 3.0, 1e-9);
    EXPECT_EQ(s.records[2].kind, Recorded::FilledBox);
    EXPECT_EQ(s.records[2].colour, 255);
    EXPECT_NEAR(s.records[2].p2.x() - s.records[2].p1.x(), 1.0, 1e-9);
    EXPECT_NEAR(s.records[2].p2.y() - s.records[2].p1.y(), 1.0, 1e-9);
    EXPECT_EQ(s.records[3].kind, Recorded::Box);
}

TEST(Surface, CircleAngles)
{
    RecordingSurface s;
    s.Circle(194, 10, 10, 2, 0, 3 * kPi / 2, 2 * kPi);
    ASSERT_EQ(s.records.size(), 1u);
    EXPECT_EQ(s.records[0].kind, Recorded::Arc);
    s.Circle(194, 10, 10, 2, 0, 1.0, 1.0);   // equal angles: nothing
    EXPECT_EQ(s.records.size(), 1u);
    EXPECT_EQ(VbErrorOf([&] { s.Circle(194, 10, 10, 2, 0, 7.0, 1.0); }), VbErr::InvalidCall)
        << "angle beyond 2 pi accepted";
}

// Pen and font come back however the drawing between ends; the fill is left as drawn.
TEST(Surface, SavedDrawingStateComesBack)
{
    RecordingSurface s;
    s.setForeColor(255);
    s.setDrawStyle(2);
    s.setDrawWidth(2);
    const FontSpec font{QStringLiteral("Liberation Serif"), 12.0f, true};
    s.setFont(font);
    try {
        const SavedDrawingState keep(&s);
        s.setForeColor(0);
        s.setDrawStyle(0);
        s.setDrawWidth(5);
        s.setDrawMode(7);
        s.setFontSize(20);
        s.setFillStyle(0);
        throw VbError(VbErr::Overflow);
    } catch (const VbError&) {
    }
    EXPECT_EQ(s.ForeColor(), 255);
    EXPECT_EQ(s.DrawStyle(), 2);
    EXPECT_EQ(s.DrawWidth(), 2.0f);
    EXPECT_EQ(s.DrawMode(), 13);
    EXPECT_EQ(s.Font(), font);
    EXPECT_EQ(s.FillStyle(), 0);
    const SavedDrawingState nothing(nullptr);   // no surface: nothing to keep
}

TEST(Surface, ScaleModesKeepTheScale)
{
    RecordingSurface s(100, 50);
    EXPECT_NEAR(s.pixelsPerUnitX(), 96 / 25.4, 1e-9);
    s.Scale(10, 20, 110, 70);
    const ScaleMeasure m = MeasureScale(s);
    EXPECT_EQ(s.ScaleMode(), ScaleModes::User);
    EXPECT_DOUBLE_EQ(s.ScaleLeft(), 10);
    EXPECT_DOUBLE_EQ(s.ScaleTop(), 20);
    EXPECT_NEAR(s.ScaleWidth(), 100, 1e-9);
    EXPECT_NEAR(m.pixelsPerUnitX, 96 / 25.4, 1e-9);
    s.setCurrentX(12);
    s.setCurrentY(21);
    s.Print("x");
    EXPECT_NEAR(s.records[0].p1.x(), 12, 1e-9);   // recorded in scale units
}

TEST(Surface, SymbolFaceShowsGreek)
{
    RecordingSurface s;
    s.setFontName("Symbol");
    s.Print("abgDWVj");
    ASSERT_EQ(s.records.size(), 1u);
    EXPECT_EQ(s.records[0].text, QString::fromUtf8("αβγΔΩςϕ"));
    EXPECT_EQ(AnsiChar(178), QString::fromUtf8("²"));
    EXPECT_EQ(AnsiChar(128), QString::fromUtf8("€"));
    EXPECT_THROW(AnsiChar(256), VbError);
    EXPECT_EQ(SymbolToUnicode(QString::fromUtf8("°")), QString::fromUtf8("°"));
}

TEST(Surface, ArialResolvesToLiberationSans)
{
    FontSpec spec;
    const QFont f = ResolveFont(spec, 96);
    EXPECT_EQ(QFontInfo(f).family(), "Liberation Sans");
    EXPECT_EQ(f.pixelSize(), 11);   // 8 pt at 96 dpi
}

TEST(PictureBoxSurface, TextHeightOfArial8)
{
    PictureBox box(100, 50, 96);
    EXPECT_NEAR(box.TextHeight("x"), 3.25, 0.05);
    box.setFontName("Symbol");
    EXPECT_GT(box.TextWidth("abg"), 0.0);
    EXPECT_DOUBLE_EQ(box.Width(), 100 * 56.7);
}

TEST(PictureBoxSurface, ArcInTheLowerRightQuarter)
{
    PictureBox box(40, 40, 96);
    box.setDrawWidth(2);
    box.Circle(194, 20, 20, 10, 0, 3 * kPi / 2, 2 * kPi);
    const QImage& img = box.Image();
    const int c = int(20 * 96 / 25.4);
    const QRect ink = inkBox(img);
    ASSERT_FALSE(ink.isNull());
    EXPECT_GE(ink.left(), c - 2);
    EXPECT_GE(ink.top(), c - 2);
    const QImage before = img.copy();
    box.Circle(194, 20, 20, 10, 0, 1.0, 1.0);
    EXPECT_EQ(box.Image(), before);
}

TEST(PictureBoxSurface, DashedLineHasScreenDashes)
{
    PictureBox box(100, 20, 96);
    box.setDrawStyle(1);
    box.Line(6, 5, 10, 95, 10, 0);
    const QImage& img = box.Image();
    const int y = int(std::lround(10 * 96 / 25.4));
    int run = 0, longest = 0;
    for (int x = 0; x < img.width(); ++x) {
        bool on = false;
        for (int dy = -1; dy <= 1; ++dy)
            on = on || inked(img, x, y + dy);
        run = on ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    EXPECT_NEAR(longest, 18, 1);   // 4.76 mm
}

TEST(PictureBoxSurface, RotatedTextRunsUpward)
{
    PictureBox box(60, 60, 96);
    box.setFontSize(9);
    box.TextOutRotated(100, 150, "Hello", 90, 14);
    const QRect ink = inkBox(box.Image());
    ASSERT_FALSE(ink.isNull());
    EXPECT_LT(ink.bottom(), 152);        // above the anchor
    EXPECT_GE(ink.left(), 99);           // to its right
    EXPECT_LE(ink.right(), 100 + 14);    // within the cell height
    EXPECT_GT(ink.height(), ink.width());
}

TEST(PictureBoxSurface, PrintedTextAndColour)
{
    PictureBox box(60, 20, 96);
    box.setForeColor(255);   // pure red
    box.setCurrentX(5);
    box.setCurrentY(5);
    box.Print("Wasser");
    EXPECT_NEAR(box.CurrentX(), 5 + box.TextWidth("Wasser"), 1e-9);
    const QRect ink = inkBox(box.Image());
    ASSERT_FALSE(ink.isNull());
    bool red = false;
    for (int y = ink.top(); y <= ink.bottom() && !red; ++y)
        for (int x = ink.left(); x <= ink.right() && !red; ++x)
            red = box.Image().pixelColor(x, y) == QColor(255, 0, 0);
    EXPECT_TRUE(red);
}
