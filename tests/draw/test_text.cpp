// Marked-up text on the recording surface (0.5 mm per character and 3.15 mm line
// height at 8 points) and the rotated-text class.
#include "support/TestHelpers.h"
#include "DrawFixture.h"
#include "draw/clsROTATOR.h"
#include "platform/Locale.h"
#include "platform/VbError.h"

namespace {
constexpr double kH8 = RecordingSurface::kCellHeightMm;   // line height at 8 pt
constexpr double kH7 = kH8 * 7 / 8;                        // index size
}

TEST_F(DrawTest, SubscriptRun)
{
    auto g = diagram();
    g->TEXT(10, 20, QStringLiteral("k{t,1}f"));
    const auto t = texts();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].text, "k");
    EXPECT_FLOAT_EQ(t[0].font.Size, 8.0f);
    EXPECT_TRUE(near(t[0].p1, {10, 20}));
    EXPECT_EQ(t[1].text, "f");
    EXPECT_FLOAT_EQ(t[1].font.Size, 7.0f);
    EXPECT_TRUE(near(t[1].p1, {10.5, 20 + 0.35 * kH7}));
    EXPECT_EQ(surface.Font(), g->fontSet()[0]);   // back to the base font
}

TEST_F(DrawTest, ExponentRuleWritesBack)
{
    auto g = diagram();
    QString text = QStringLiteral("1.5E+03");
    {
        const LocaleScope english(English());
        g->TEXT(50, 50, text, 0, 0, 1);
    }
    EXPECT_EQ(text, "1.5*10{h,3}+03");
    const auto t = texts();
    ASSERT_EQ(t.size(), 2u);
    const double x0 = 50 - 7 * 0.5 / 2;   // centred on the width of "1.5E+03"
    EXPECT_EQ(t[0].text, "1.5*10");
    EXPECT_TRUE(near(t[0].p1, {x0, 50}));
    EXPECT_EQ(t[1].text, "+03");
    EXPECT_TRUE(near(t[1].p1, {x0 + 3.0, 50 - 0.25 * kH7}));
}

TEST_F(DrawTest, GreekAndCharacterCodes)
{
    auto g = diagram();
    g->TEXT(10, 20, QStringLiteral("a{g,1}b{h,1}2"));
    auto t = texts();
    ASSERT_EQ(t.size(), 4u);   // a, b, the empty plain run, 2
    EXPECT_EQ(t[1].text, QString::fromUtf8("β"));
    EXPECT_EQ(t[1].font.Name, "Symbol");
    EXPECT_TRUE(near(t[1].p1, {10.5, 20 - 0.1 * kH8}));
    EXPECT_EQ(t[2].text, "");
    EXPECT_TRUE(near(t[3].p1, {11.0, 20 - 0.25 * kH7}));
    surface.records.clear();
    g->TEXT(50, 30, QStringLiteral("{c,178}"), 0, 0, 2);   // measured empty: no shift
    t = texts();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].text, QString::fromUtf8("²"));
    EXPECT_TRUE(near(t[0].p1, {50, 30}));
}

TEST_F(DrawTest, MalformedGroups)
{
    auto g = diagram();
    g->TEXT(10, 20, QStringLiteral("a{t1}b"), 0, 0, 2);   // no comma: silent stop
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_TRUE(near(texts()[0].p1, {10 - 1.0, 20}));      // aligned by "ab"
    EXPECT_TRUE(boxes().empty());
    surface.records.clear();
    project.dialogs().msgAnswers.assign(3, MsgResult::OK);
    g->TEXT(10, 20, QStringLiteral("x{t,1"));
    ASSERT_EQ(texts().size(), 1u);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].title, "Text");
    EXPECT_TRUE(boxes()[0].text.startsWith("VB-Fehler: 5\n"));
    g->TEXT(10, 20, QStringLiteral("{t,x}a"));
    EXPECT_TRUE(boxes().back().text.startsWith("VB-Fehler: 13\n"));
    g->TEXT(10, 20, QStringLiteral("{c,300}"));
    EXPECT_TRUE(boxes().back().text.startsWith("VB-Fehler: 5\n"));
}

TEST_F(DrawTest, DrawnSymbols)
{
    auto g = diagram();
    surface.setForeColor(255);
    g->TEXT(10, 20, QStringLiteral("{s,1}3"));
    const auto dots = surface.of(Recorded::Circle);
    ASSERT_EQ(dots.size(), 1u);
    EXPECT_TRUE(near(dots[0].p1, {10.5, 20 + 0.5 * kH8}));
    EXPECT_NEAR(dots[0].radius, 0.7, 1e-9);
    EXPECT_EQ(dots[0].fillStyle, 0);
    EXPECT_EQ(dots[0].fillColor, 255);
    EXPECT_EQ(surface.FillStyle(), 1);
    EXPECT_EQ(surface.FillColor(), 0xFFFFFF);
    surface.records.clear();
    g->TEXT(10, 20, QStringLiteral("{s,0}"));
    ASSERT_EQ(lines().size(), 4u);
    const QPointF c(10.5, 20 + 0.5 * kH8);
    EXPECT_TRUE(near(lines()[0].p1, c) && near(lines()[0].p2, c + QPointF(-0.75, -0.75)));
    EXPECT_TRUE(near(lines()[3].p2, c + QPointF(0.75, 0.75)));
    surface.records.clear();
    g->TEXT(10, 20, QStringLiteral("{x,2}ab"));   // unknown code: base font, no offset
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_TRUE(near(texts()[0].p1, {10, 20}));
    EXPECT_EQ(texts()[0].font, g->fontSet()[0]);
    // The symbol number is converted as the runtime converts to Integer: rounded, and
    // beyond the Integer range the overflow error in the text's box.
    surface.records.clear();
    g->TEXT(10, 20, QStringLiteral("{s,3}2.6"));
    EXPECT_EQ(surface.of(Recorded::Circle).size(), 1u);
    surface.records.clear();
    project.dialogs().msgAnswers = {MsgResult::OK};
    g->TEXT(10, 20, QStringLiteral("{s,4}1e20"));
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].title, "Text");
    EXPECT_TRUE(boxes()[0].text.startsWith("VB-Fehler: 6")) << boxes()[0].text.toStdString();
    EXPECT_TRUE(surface.records.empty());
}

TEST_F(DrawTest, TextOnlyInsideTheBox)
{
    auto g = diagram();
    struct Case { float x; int16_t KO; bool drawn; };
    for (const Case& c : {Case{-0.5f, 0, true}, Case{-1.5f, 0, false}, Case{122.0f, 0, true}, Case{124.5f, 0, false}}) {
        surface.records.clear();
        g->TEXT(c.x, 20, QStringLiteral("ab"), c.KO);
        EXPECT_EQ(texts().size(), c.drawn ? 1u : 0u) << c.x;
    }
    const QString wide(300, QLatin1Char('w'));   // 150 mm: wider than the box
    for (float x : {0.0f, 50.0f, 120.0f}) {
        surface.records.clear();
        g->TEXT(x, 20, wide, 0, 0, 1);
        EXPECT_TRUE(surface.records.empty()) << x;
    }
    surface.records.clear();
    g->EXDL(5);
    g->EYDO(7);
    g->TEXT(1, 2, QStringLiteral("a"), 2);   // relative to the box
    ASSERT_EQ(texts().size(), 1u);
    EXPECT_TRUE(near(texts()[0].p1, {6, 9}));
    g->TEXT(10, 20, QString());                // empty: nothing
    EXPECT_EQ(texts().size(), 1u);
}

TEST_F(DrawTest, RotatedRuns)
{
    auto g = diagram();
    g->TEXT(50, 60, QStringLiteral("ab{t,1}c{s,1}2"), 0, 90);
    const auto r = surface.of(Recorded::RotatedText);
    ASSERT_EQ(r.size(), 3u);   // "ab", "c" and the empty plain run
    EXPECT_EQ(r[0].text, "ab");
    EXPECT_DOUBLE_EQ(r[0].angle, 90.0);
    EXPECT_EQ(r[0].cellHeightPx, 12);   // 8 pt at 96 dpi
    EXPECT_NEAR(r[0].p1.x(), 50, 0.3);
    EXPECT_NEAR(r[0].p1.y(), 60, 0.3);
    EXPECT_EQ(r[1].text, "c");
    EXPECT_EQ(r[1].cellHeightPx, 11);   // 7 pt: 672 \ 72 = 9, 9 * 1.175 = 10.6
    EXPECT_NEAR(r[1].p1.x(), 50 + 0.35 * kH7, 0.3);   // the subscript moves right
    EXPECT_NEAR(r[1].p1.y(), 59, 0.3);                // one run (1 mm) further up
    const auto squares = surface.of(Recorded::Box);   // the symbol stays upright
    ASSERT_EQ(squares.size(), 1u);
    EXPECT_NEAR(squares[0].p2.x() - squares[0].p1.x(), 1.0, 1e-9);
    EXPECT_NEAR(squares[0].p2.y() - squares[0].p1.y(), 1.0, 1e-9);
    EXPECT_TRUE(texts().empty());
    surface.records.clear();
    g->TEXT(50, 60, QStringLiteral("x"), 0, 360);
    ASSERT_EQ(surface.of(Recorded::RotatedText).size(), 1u);
    EXPECT_TRUE(surface.FontTransparent());
}

// A run that fails (a turned run above 255 points) leaves the caller's font, not its own.
TEST_F(DrawTest, FailedRunLeavesTheCallersFont)
{
    auto g = diagram();
    g->SCHRIFTEINSTELLUNGEN("Arial", 300);
    surface.setFontName(QStringLiteral("Liberation Serif"));
    const FontSpec caller = surface.Font();
    project.dialogs().msgAnswers = {MsgResult::OK};
    g->TEXT(50, 60, QStringLiteral("x"), 0, 90);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].title, "Text");
    EXPECT_TRUE(surface.of(Recorded::RotatedText).empty());
    EXPECT_EQ(surface.Font(), caller);
}

TEST(Rotator, CellHeights)
{
    struct Case { double ppi; float size; int height; };
    for (const Case& c : {Case{96, 9, 14}, Case{600, 9, 88}, Case{96, 8.25f, 13}, Case{96, 8, 12}, Case{600, 8, 78}})
        EXPECT_EQ(clsROTATOR::CellHeight(c.ppi, c.size), c.height) << c.ppi << " " << c.size;
}

TEST(Rotator, LabelAtTheCurrentPositionOfAUserScale)
{
    RecordingSurface s(100, 50);
    s.Scale(10, 20, 110, 70);
    s.setCurrentX(30);
    s.setCurrentY(40);
    s.setFontSize(9);
    clsROTATOR r;
    r.Device(s);
    EXPECT_EQ(s.ScaleMode(), ScaleModes::User);   // the scale is as it was
    EXPECT_DOUBLE_EQ(s.ScaleLeft(), 10);
    r.Angle(90);
    QString text = QStringLiteral("z");
    r.Label(text);
    ASSERT_EQ(s.records.size(), 1u);
    EXPECT_EQ(s.records[0].cellHeightPx, 14);
    EXPECT_NEAR(s.records[0].p1.x(), 30, 0.3);   // 20 units right of the origin
    EXPECT_NEAR(s.records[0].p1.y(), 40, 0.3);
    s.setFontName(QString(33, QLatin1Char('A')));
    EXPECT_EQ(VbErrorOf([&] { r.Label(text); }), VbErr::Subscript);
}
