// The table class on the recording surface: frames, column lines, merged head cells,
// alignments, paging with the scroll bar, statistics and the errors that reach the page.
#include "PagesFixture.h"
#include "platform/Colors.h"
#include "platform/Format.h"
#include "platform/Locale.h"
#include "platform/PictureBox.h"
#include "platform/VScrollBar.h"
#include "support/ImageProbe.h"
#include "support/TestHelpers.h"

namespace {

class TableTest : public ::testing::Test, protected ScriptedContext {
protected:
    RecordingSurface box{62, 50};
    VScrollBar bar{box, nullptr};

    TableTest() { box.name = QStringLiteral("picBILD12"); }

    std::vector<Recorded> of(Recorded::Kind kind) const { return box.of(kind); }
    // Vertical lines (x, top, bottom) in drawing order.
    std::vector<std::array<double, 3>> verticals() const
    {
        std::vector<std::array<double, 3>> out;
        for (const Recorded& r : of(Recorded::Line))
            if (r.p1.x() == r.p2.x())
                out.push_back({r.p1.x(), r.p1.y(), r.p2.y()});
        return out;
    }
    std::vector<QString> textsOnLine(double centreY) const
    {
        std::vector<QString> out;
        for (const Recorded& r : of(Recorded::Text))
            if (std::abs(centre(r).y() - centreY) < 1e-3)
                out.push_back(r.text);
        return out;
    }
    // Head and body of n rows on the box, the bar at the given value.
    std::unique_ptr<clsTABELLE> drawn(int rows, int value = 0, OutputObject* on = nullptr)
    {
        auto t = SectionTable(ctx, on ? *on : box);
        bar.setValue(value);
        t->EYBALKEN(&bar);
        VariantMatrix head = SectionHead();
        VariantMatrix body = NumberRows(rows);
        t->TABELLE(head, 0);
        t->TABELLE(body, 1);
        return t;
    }
};

} // namespace

TEST_F(TableTest, ColumnWidthsRecreateTheCompanionLists)
{
    clsTABELLE t(ctx);
    EXPECT_EQ(t.ERO(), 2.5f);
    EXPECT_EQ(t.ERU(), 2.5f);
    EXPECT_EQ(t.ERL(), 2.5f);
    EXPECT_EQ(t.ERZ(), 1.5f);
    EXPECT_EQ(t.EZA(), 1.0f);
    EXPECT_EQ(t.EZH(), 0.0f);
    t.ELSB({20});
    EXPECT_EQ(t.ELGIT(), VariantList{Variant()});
    EXPECT_EQ(t.ELGITLEER(), VariantList{Variant()});
    EXPECT_EQ(t.ELMW(), VariantList{Variant()});
    t.ELSB({10, 10, 10});
    t.ELGIT({1, 2, 1});
    t.ELGITLEER({0, 0});
    t.ELSB({10, 10, 10});
    EXPECT_EQ(t.ELGIT(), VariantList(3));
    EXPECT_EQ(t.ELGITLEER(), VariantList(2));

    // A table drawn after the widths were set again has no inner lines.
    t.EOBJEKT(&box);
    t.ELA({0, 0, 0});
    t.ELFORMAT({"", "", ""});
    VariantMatrix head = VariantMatrix::FromRows({{"a", "b", "c"}});
    t.TABELLE(head, 0);
    EXPECT_TRUE(verticals().empty());
    // No row height given: the height of "X" in the font of the first drawing, kept.
    EXPECT_NEAR(t.EZH(), RecordingSurface::kCellHeightMm, 1e-6);
    t.SCHRIFTEINSTELLUNGEN(QString(), 16);
    t.TABELLE(head, 0);
    EXPECT_NEAR(t.EZH(), RecordingSurface::kCellHeightMm, 1e-6);
}

TEST_F(TableTest, PenAndFontSettings)
{
    RecordingSurface fourPerMm(62, 50, SurfaceKind::PictureBox, 101.6);
    clsTABELLE t(ctx);
    t.EOBJEKT(&fourPerMm);
    EXPECT_EQ(fourPerMm.Font(), FontSpec{});   // Arial 8
    EXPECT_EQ(fourPerMm.ForeColor(), 0);
    int16_t style = 1;
    float width = 0.5f;
    int32_t colour = 0;
    t.LINIENEINSTELLUNGEN(style, width, colour);
    EXPECT_EQ(width, 2.0f);
    EXPECT_EQ(colour, 0);
    EXPECT_EQ(fourPerMm.DrawWidth(), 2.0f);
    EXPECT_EQ(fourPerMm.DrawStyle(), 1);
    width = 0;
    t.LINIENEINSTELLUNGEN(style, width, colour);
    EXPECT_EQ(width, 1.0f);

    t.SCHRIFTEINSTELLUNGEN(QString(), 10, true, false, false, -5);
    EXPECT_EQ(fourPerMm.FontSize(), 10.0f);
    EXPECT_TRUE(fourPerMm.Font().Bold);
    EXPECT_EQ(fourPerMm.ForeColor(), 0);
    // The index font of a sub-script is 10 / 1.175 rounded: 9, bold like its base.
    t.TITEL("k{t,1}f");
    const auto texts = fourPerMm.of(Recorded::Text);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1].font.Size, 9.0f);
    EXPECT_TRUE(texts[1].font.Bold);
    EXPECT_EQ(fourPerMm.Font().Size, 10.0f);   // the object's font again afterwards
}

TEST_F(TableTest, SettingsBoxesAndObjectsOfAnyKind)
{
    // The settings' boxes speak the table's words; without an object they say error 91.
    clsTABELLE t(ctx);
    dialogs->msgAnswers = {MsgResult::Cancel, MsgResult::Cancel};
    t.SCHRIFTEINSTELLUNGEN();
    t.LINIENEINSTELLUNGEN();
    const auto shown = dialogs->boxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].title, QStringLiteral("Schrifteinstellungen"));
    EXPECT_TRUE(shown[0].text.startsWith(QStringLiteral("VB-Error:91\n")));
    EXPECT_EQ(shown[1].title, QStringLiteral("Linieneinstellungen"));
    EXPECT_TRUE(shown[1].text.startsWith(QStringLiteral("VB-Error 91\n")));

    // Unlike a diagram, a table measures an object of any kind: 0.5 mm on 4 pixels per
    // mm is a pen of 2 pixels.
    RecordingSurface other(62, 50, SurfaceKind::Other, 101.6);
    t.EOBJEKT(&other);
    int16_t style = 0;
    float width = 0.5f;
    int32_t colour = 0;
    t.LINIENEINSTELLUNGEN(style, width, colour);
    EXPECT_EQ(width, 2.0f);
    EXPECT_EQ(other.Font(), FontSpec{});   // Arial 8
}

TEST_F(TableTest, MeasuringKeepsAUserScale)
{
    box.Scale(-10, 100, 52, 150);
    clsTABELLE t(ctx);
    t.EOBJEKT(&box);
    EXPECT_EQ(box.ScaleMode(), ScaleModes::User);
    EXPECT_EQ(box.ScaleLeft(), -10.0);
    EXPECT_EQ(box.ScaleTop(), 100.0);
    EXPECT_EQ(box.ScaleWidth(), 62.0);
    EXPECT_EQ(box.ScaleHeight(), 50.0);
}

TEST_F(TableTest, HeadBlockFramesLinesAndCells)
{
    auto t = SectionTable(ctx, box);
    VariantMatrix head = SectionHead();
    t->TABELLE(head, 0);
    const auto boxes = of(Recorded::Box);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_TRUE(near(boxes[0].p1, {1, 5}) && near(boxes[0].p2, {51, 11.4}));
    EXPECT_TRUE(near(boxes[1].p1, {0.5, 4.5}) && near(boxes[1].p2, {51.5, 11.9}));
    const std::vector<double> xs{10, 19, 19.5, 25, 25.5, 38};
    const auto lines = verticals();
    ASSERT_EQ(lines.size(), xs.size());
    for (std::size_t i = 0; i < xs.size(); ++i) {
        EXPECT_NEAR(lines[i][0], xs[i], 1e-4);
        EXPECT_NEAR(lines[i][1], 5, 1e-4);
        EXPECT_NEAR(lines[i][2], 11.4, 1e-4);
    }
    // Cells centred in their columns, each row 1.5 above its text line.
    const double columnMiddles[] = {5.5, 14.5, 22, 31.5, 44.5};
    for (double rowCentre : {6.7, 9.7}) {
        int column = 0;
        for (const Recorded& r : of(Recorded::Text)) {
            if (std::abs(centre(r).y() - rowCentre) > 1e-4 || r.text.isEmpty())
                continue;
            while (column < 5 && std::abs(centre(r).x() - columnMiddles[column]) > 1e-4)
                ++column;
            EXPECT_LT(column, 5) << r.text.toStdString();
        }
    }
    EXPECT_EQ(textsOnLine(6.7), (std::vector<QString>{"z", "x", "o/u", "wh", "wv"}));
    EXPECT_NEAR(t->HOEHE(), 6.4, 1e-5);
}

TEST_F(TableTest, MergedHeadCellsAndTheirLine)
{
    clsTABELLE t(ctx);
    t.EOBJEKT(&box);
    t.ERO(5);
    t.ERZ(0.2f);
    t.ERL(1);
    t.ELSB({10, 20, 10, 10});
    t.ELGIT({1, 1, 1});
    t.ELGITLEER({2, 0, 3});   // 3 head rows: the last line is left out in all of them
    t.EZH(3);
    VariantMatrix head = VariantMatrix::FromRows(
        {{"ab", "-", "c", "-"}, {"de", "-", "f", "-"}, {"g", "h", "i", "-"}});
    t.TABELLE(head, 0);
    // Rows 0 and 1: the first two columns are one cell with the first column's text.
    EXPECT_EQ(textsOnLine(6.7), (std::vector<QString>{"ab", "c"}));
    EXPECT_EQ(textsOnLine(9.7), (std::vector<QString>{"de", "f"}));
    EXPECT_EQ(textsOnLine(12.7), (std::vector<QString>{"g", "h", "i"}));
    for (const Recorded& r : of(Recorded::Text)) {
        if (r.text == QLatin1String("ab")) {
            EXPECT_NEAR(centre(r).x(), 1 + 15, 1e-4);
        }
        if (r.text == QLatin1String("i")) {
            EXPECT_NEAR(centre(r).x(), 31 + 10, 1e-4);
        }
    }
    // The line after column 0 starts below the merged rows: 5 + 2 x 3 + 0.2 + 1.
    const auto lines = verticals();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NEAR(lines[0][0], 11, 1e-4);
    EXPECT_NEAR(lines[0][1], 12.2, 1e-4);
    EXPECT_NEAR(lines[0][2], 5 + t.HOEHE(), 1e-4);
    EXPECT_NEAR(lines[1][0], 31, 1e-4);
    EXPECT_NEAR(lines[1][1], 5, 1e-4);
}

TEST_F(TableTest, BodyThatFitsHidesTheBar)
{
    const LocaleScope german(German());
    bar.setVisible(true);
    auto t = drawn(12);
    EXPECT_FALSE(bar.Visible());
    EXPECT_EQ(t->EEZ(), 0);
    EXPECT_EQ(t->ELZ(), 11);
    EXPECT_NEAR(t->HOEHE() - 6.4, 36.4, 1e-4);
    const auto boxes = of(Recorded::Box);
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_TRUE(near(boxes[2].p1, {1, 11.9}) && near(boxes[2].p2, {51, 48.3}));
    // Row j: texts centred on 13.6 + 3 j, numbers right-aligned, the mark centred.
    for (int j : {0, 11}) {
        std::vector<Recorded> row;
        for (const Recorded& r : of(Recorded::Text))
            if (std::abs(centre(r).y() - (13.6 + 3 * j)) < 1e-4)
                row.push_back(r);
        ASSERT_EQ(row.size(), 5u);
        const double rights[] = {8.5, 17.5, 0, 36.5, 49.5};
        for (int c : {0, 1, 3, 4})
            EXPECT_NEAR(rightEdge(row[std::size_t(c)]), rights[c], 1e-4);
        EXPECT_NEAR(centre(row[2]).x(), 22, 1e-4);
        EXPECT_EQ(row[2].text, QStringLiteral("u"));
    }
    EXPECT_EQ(textsOnLine(13.6).front(), QStringLiteral("0,50"));
    EXPECT_EQ(textsOnLine(13.6 + 33).back(), QStringLiteral("114,50"));
}

TEST_F(TableTest, BodyThatDoesNotFitPlacesTheBar)
{
    int changes = 0;
    QObject::connect(&bar, &QScrollBar::valueChanged, [&] { ++changes; });
    auto t = drawn(13);
    EXPECT_TRUE(bar.Visible());
    EXPECT_NEAR(bar.Top(), 11.9, 1e-4);
    EXPECT_NEAR(bar.Left(), 52.5, 1e-4);
    EXPECT_NEAR(bar.Width(), 5, 1e-4);
    EXPECT_NEAR(bar.Height(), 37.1, 1e-4);
    EXPECT_EQ(bar.Min(), 0);
    EXPECT_EQ(bar.Max(), 10000);
    EXPECT_EQ(bar.LargeChange(), 2000);
    EXPECT_EQ(bar.singleStep(), 300);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(t->EEZ(), 0);
    EXPECT_EQ(t->ELZ(), 11);
    EXPECT_NEAR(t->HOEHE(), 42.8, 1e-4);
    EXPECT_TRUE(textsOnLine(13.6 + 36).empty());   // row 12 is not drawn
}

TEST_F(TableTest, BarShownWhenTheBodyExactlyFillsTheBox)
{
    // With ERZ 0.25 the heights are exact: head 6.5, twelve rows 36.5, with the margins 49.
    struct Case { double height; bool shown; };
    for (const Case c : {Case{49, true}, Case{49.5, false}}) {
        RecordingSurface exact(62, c.height);
        auto t = SectionTable(ctx, exact);
        t->ERZ(0.25f);
        bar.setValue(0);
        bar.setVisible(!c.shown);
        t->EYBALKEN(&bar);
        VariantMatrix head = SectionHead();
        VariantMatrix body = NumberRows(12);
        t->TABELLE(head, 0);
        t->TABELLE(body, 1);
        EXPECT_EQ(bar.Visible(), c.shown) << c.height;
    }
}

TEST_F(TableTest, ScrolledBodyShowsTheRowsAtTheBarsPosition)
{
    // A box 44 mm high holds ten rows of thirty.
    RecordingSurface shorter(62, 44);
    struct Case { int value; int EEZ; int ELZ; };
    for (const Case c : {Case{0, 0, 9}, Case{5000, 10, 19}, Case{10000, 20, 29}, Case{300, 1, 10}}) {
        shorter.records.clear();
        bar.setMax(10000);
        auto t = drawn(30, c.value, &shorter);
        EXPECT_EQ(t->EEZ(), c.EEZ) << c.value;
        EXPECT_EQ(t->ELZ(), c.ELZ) << c.value;
        EXPECT_NEAR(t->HOEHE(), 6.4 + 0.4 + 9 * 3 + 3, 1e-4);
    }
}

TEST_F(TableTest, PrinterShowsTheRowsTheBarShows)
{
    drawn(13);   // on screen: the bar is placed and shown
    RecordingSurface paper(297, 210, SurfaceKind::Printer);
    struct Case { bool barShown; int value; int EEZ; int ELZ; };
    for (const Case c : {Case{false, 0, 0, 12}, Case{true, 0, 0, 11}, Case{true, 5000, 0, 11},
                         Case{true, 10000, 1, 12}}) {
        bar.setVisible(c.barShown);
        bar.setValue(c.value);
        auto t = SectionTable(ctx, paper);
        t->EXDL(137);
        t->EYDO(42);
        t->EYBALKEN(&bar);
        VariantMatrix head = SectionHead();
        VariantMatrix body = NumberRows(13);
        paper.records.clear();
        t->TABELLE(head, 0);
        t->TABELLE(body, 1);
        EXPECT_EQ(t->EEZ(), c.EEZ);
        EXPECT_EQ(t->ELZ(), c.ELZ);
        const auto boxes = paper.of(Recorded::Box);
        EXPECT_TRUE(near(boxes[0].p1, {138, 47}) && near(boxes[0].p2, {188, 53.4}));
        EXPECT_NEAR(t->HOEHE() - 6.4, 0.4 + (c.ELZ - c.EEZ) * 3 + 3, 1e-4);
    }
    EXPECT_TRUE(bar.Visible());   // printing leaves the bar alone
}

TEST_F(TableTest, DecimalSignStandsWhereThePatternPutsItsPoint)
{
    struct Case { const char* pattern; double offset; };
    for (const QLocale& locale : {English(), German()}) {
        const LocaleScope scope(locale);
        for (const Case c : {Case{"#0.00", -0.85}, Case{"0.00E+00", 2.125}, Case{"0.00", 0}}) {
            box.records.clear();
            clsTABELLE t(ctx);
            t.EOBJEKT(&box);
            t.ELSB({20});
            t.ELA({3});
            t.ELFORMAT({c.pattern});
            t.EZH(3);
            VariantMatrix body = VariantMatrix::FromRows({{12.5f}});
            t.TABELLE(body, 1);
            const auto texts = of(Recorded::Text);
            ASSERT_EQ(texts.size(), 1u);
            // The text's decimal sign ends at the column's middle (2.5 + 10) less the offset.
            const QString& s = texts[0].text;
            const auto sign = s.indexOf(DecimalSeparatorOf(locale)) + 1;
            ASSERT_GT(sign, 0) << s.toStdString();
            EXPECT_NEAR(texts[0].p1.x() + sign * RecordingSurface::kCharWidthMm, 12.5 - c.offset, 1e-4)
                << c.pattern << " " << s.toStdString();
        }
    }
    // A column without a pattern puts the text's start at the middle.
    box.records.clear();
    clsTABELLE t(ctx);
    t.EOBJEKT(&box);
    t.ELSB({20});
    t.ELA({3});
    t.ELFORMAT({""});
    t.EZH(3);
    VariantMatrix body = VariantMatrix::FromRows({{"GOK"}});
    t.TABELLE(body, 1);
    ASSERT_EQ(of(Recorded::Text).size(), 1u);
    EXPECT_NEAR(of(Recorded::Text)[0].p1.x(), 12.5, 1e-4);
}

TEST_F(TableTest, StatisticsOfTheMarkedColumns)
{
    struct Case { std::vector<float> values; Variant mean, dev, var; };
    const Case cases[] = {
        {{2, 4}, 3.0f, 1.41421f, 0.471405f},
        {{5}, 5.0f, 0.0f, 0.0f},
        {{2, 0, 4}, "-", "-", "-"},          // a zero stops the column
        {{-1, 1}, 0.0f, 1.41421f, "-"},      // no variation of a mean of 0
    };
    for (const Case& c : cases) {
        clsTABELLE t(ctx);
        t.EOBJEKT(&box);
        t.ELSB({10, 10});
        t.ELMW({0, 1});
        t.ELA({0, 2});
        t.ELFORMAT({"", "0.00"});
        t.EZH(3);
        VariantMatrix body(2, int(c.values.size()));
        for (std::size_t r = 0; r < c.values.size(); ++r) {
            body(0, int(r)) = "v";
            body(1, int(r)) = c.values[r];
        }
        VariantMatrix block = VariantMatrix::FromRows({{"Mittel", 0.0f}, {"s", 0.0f}, {"V", 0.0f}});
        t.TABELLE(body, 1);
        t.TABELLE(block, 2);
        EXPECT_EQ(block(0, 0), Variant("Mittel"));   // unmarked columns keep their values
        const Variant* expected[] = {&c.mean, &c.dev, &c.var};
        for (int r = 0; r < 3; ++r) {
            if (expected[r]->type() == VarType::String)
                EXPECT_EQ(block(1, r), *expected[r]);
            else
                EXPECT_NEAR(CDbl(block(1, r)), CDbl(*expected[r]), 1e-5);
        }
    }
}

TEST_F(TableTest, StatisticsBlockBelowTheBodyAndTheNoteBelowIt)
{
    clsTABELLE t(ctx);
    t.EOBJEKT(&box);
    t.ERO(5);
    t.ERZ(0.2f);
    t.ERL(1);
    t.ELSB({10});
    t.ELMW({1});
    t.ELA({2});
    t.ELFORMAT({"0.00"});
    t.EZH(3);
    VariantMatrix head = VariantMatrix::FromRows({{"z"}});
    VariantMatrix body = VariantMatrix::FromRows({{1.0f}, {3.0f}});
    VariantMatrix block = VariantMatrix::FromRows({{0.0f}});
    t.TABELLE(head, 0);   // H 3.4
    t.TABELLE(body, 1);   // B 6.4
    t.FUSSNOTE("after the body");
    t.TABELLE(block, 2);  // S 3.4
    t.FUSSNOTE("after the block");
    const auto boxes = of(Recorded::Box);
    ASSERT_EQ(boxes.size(), 6u);
    EXPECT_TRUE(near(boxes[4].p1, {1, 5 + 3.4 + 6.4 + 1}) && near(boxes[4].p2, {11, 5 + 3.4 + 6.4 + 1 + 3.4}));
    const auto texts = of(Recorded::Text);
    // The note's top is ERZ + 0.5 below the body's outer frame.
    EXPECT_TRUE(near(texts[3].p1, {2.5, 5 + 3.4 + 0.5 + 6.4 + 0.5 + 0.2 + 0.5}));
    EXPECT_EQ(texts[4].text, Format(2.0f, "0.00"));   // the mean, in the block
    EXPECT_NEAR(texts[5].p1.y(), texts[3].p1.y() + 3.4, 1e-4);
    EXPECT_NEAR(t.HOEHE(), 3.4 + 6.4, 1e-4);   // without the statistics block
}

TEST_F(TableTest, ErrorsReachTheCaller)
{
    // Without column widths the table says so and draws nothing.
    clsTABELLE t(ctx);
    t.EOBJEKT(&box);
    VariantMatrix head = SectionHead();
    dialogs->msgAnswers = {MsgResult::OK};
    t.TABELLE(head, 0);
    const auto shown = dialogs->boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, QStringLiteral("Angabe der Spaltenbreiten in Objekt picBILD12 fehlt !"));
    EXPECT_EQ(shown[0].title, QStringLiteral("Tabelle"));
    EXPECT_EQ(shown[0].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(box.records.empty());

    // A missing line entry is error 9; the frame drawn before it stays.
    auto s = SectionTable(ctx, box);
    s->ELGIT({1, 2});
    EXPECT_EQ(VbErrorOf([&] { s->TABELLE(head, 0); }), VbErr::Subscript);
    EXPECT_EQ(box.of(Recorded::Box).size(), 2u);

    // A statistics block without a body before it, and no output object.
    clsTABELLE u(ctx);
    u.EOBJEKT(&box);
    u.ELSB({10});
    u.ELMW({1});
    VariantMatrix block(1, 3);
    EXPECT_EQ(VbErrorOf([&] { u.TABELLE(block, 2); }), VbErr::Subscript);
    clsTABELLE none(ctx);
    EXPECT_EQ(VbErrorOf([&] { none.TITEL("x"); }), VbErr::ObjectNotSet);
}

TEST_F(TableTest, FewerColumnsInTheArrayThanWidths)
{
    clsTABELLE t(ctx);
    t.EOBJEKT(&box);
    t.ERL(1);
    t.ELSB({5, 6, 7, 8, 9, 10});
    t.ELGIT({1, 1, 1, 1, 1});
    VariantMatrix head = VariantMatrix::FromRows({{"a", "b", "c", "d"}});
    t.TABELLE(head, 0);
    EXPECT_NEAR(of(Recorded::Box)[0].p2.x(), 1 + 26, 1e-4);
    EXPECT_EQ(verticals().size(), 3u);
}

TEST_F(TableTest, MarksOfASymbolColumn)
{
    clsTABELLE t(ctx);
    t.EOBJEKT(&box);
    t.ELSB({10});
    t.ELFORMAT({"SYMBOL"});
    t.EZH(3);
    box.setForeColor(LongFromColor(QBColor(9)));
    box.setFillStyle(0);
    box.setFillColor(LongFromColor(QBColor(14)));
    VariantMatrix body = VariantMatrix::FromRows({{"3"}, {8}, {"x"}, {1}});
    t.TABELLE(body, 1);
    const auto circles = of(Recorded::Circle);
    ASSERT_EQ(circles.size(), 1u);
    EXPECT_EQ(circles[0].colour, LongFromColor(QBColor(4)));
    EXPECT_EQ(circles[0].fillStyle, 0);
    EXPECT_NEAR(circles[0].radius, 0.7, 1e-6);
    // Centred in the cell, half a row above the text line (2.5 + 1.5 + 3).
    EXPECT_TRUE(near(circles[0].p1, {7.5, 7 - 1.5}));
    const auto filled = of(Recorded::FilledBox);
    ASSERT_EQ(filled.size(), 1u);
    EXPECT_EQ(filled[0].colour, LongFromColor(QBColor(2)));
    EXPECT_TRUE(near(filled[0].p1, {7, 14}) && near(filled[0].p2, {8, 15}));
    EXPECT_TRUE(of(Recorded::Text).empty());
    EXPECT_EQ(box.FillStyle(), 1);
    EXPECT_EQ(box.FillColor(), 0);
    EXPECT_EQ(box.ForeColor(), LongFromColor(QBColor(9)));
}

TEST_F(TableTest, TableOnThePictureAsAPersonSeesIt)
{
    // 10 pixels to the millimetre: positions in pixels are ten times the millimetres.
    PictureBox picture(62, 50, 254);
    VScrollBar pictureBar(picture, &picture);
    auto t = SectionTable(ctx, picture);
    t->EYBALKEN(&pictureBar);
    VariantMatrix head = SectionHead();
    VariantMatrix body = NumberRows(13);
    t->TABELLE(head, 0);
    t->TABELLE(body, 1);
    const QImage& img = picture.Image();
    // Frame edges and column lines, half-way down the body.
    for (int x : {5, 10, 100, 190, 195, 250, 255, 380, 510, 515})
        EXPECT_TRUE(inked(img, x - 1, 300) || inked(img, x, 300) || inked(img, x + 1, 300)) << x;
    for (int x : {7, 50, 512})
        EXPECT_FALSE(inked(img, x, 300)) << x;
    // Text in the first row of the body, inside its right-aligned column.
    const QRect first = inkBox(img, QRect(QPoint(11, 125), QPoint(99, 150)));
    ASSERT_FALSE(first.isNull());
    EXPECT_NEAR(first.right(), 85, 3);
    EXPECT_TRUE(pictureBar.Visible());
    EXPECT_EQ(pictureBar.geometry(), QRect(525, 119, 50, 371));
}

TEST(VariantMatrix, BoundsAndRowsThatGrow)
{
    VariantMatrix none;
    EXPECT_EQ(VbErrorOf([&] { none.rows(); }), VbErr::Subscript);
    VariantMatrix m = VariantMatrix::FromRows({{"a", 1}, {"b", 2}});
    EXPECT_EQ(m.columns(), 2);
    EXPECT_EQ(m.rows(), 2);
    EXPECT_EQ(m(1, 0), Variant(1));
    EXPECT_EQ(VbErrorOf([&] { m(2, 0); }), VbErr::Subscript);
    // Rows appended keep the cells of the rows before them.
    m.setRows(3);
    EXPECT_EQ(m(0, 1), Variant("b"));
    EXPECT_EQ(m(1, 2), Variant());
    m(1, 2) = 3.5f;
    m.setRows(1);
    EXPECT_EQ(m(0, 0), Variant("a"));
    EXPECT_EQ(VbErrorOf([&] { m(0, 1); }), VbErr::Subscript);
}
