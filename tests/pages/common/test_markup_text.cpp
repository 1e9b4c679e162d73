// The text routine of the table and header classes: runs of the reduced title mark-up,
// their fonts and offsets, alignment, malformed groups, and the header's two rules.
#include "PagesFixture.h"
#include "draw/Markup.h"
#include "pages/common/MarkupText.h"

namespace {

struct Segment {
    QString text;
    QPointF topLeft;
    float size;
};

class MarkupTextTest : public ::testing::Test, protected ScriptedContext {
protected:
    RecordingSurface surface{100, 50};
    FontSet fonts;

    MarkupTextTest() { DeriveFontSet(surface.Font(), fonts); }

    std::vector<Segment> draw(const Variant& text, double x = 0, double y = 0, int ah = 0, int av = 0,
                          MarkupTextRules rules = {}, OutputObject* on = nullptr)
    {
        RecordingSurface& s = on ? static_cast<RecordingSurface&>(*on) : surface;
        s.records.clear();
        MarkupText(*dialogs, s, fonts, x, y, text, ah, av, rules);
        std::vector<Segment> runs;
        for (const Recorded& r : s.of(Recorded::Text))
            runs.push_back({r.text, r.p1, r.font.Size});
        return runs;
    }
};

// Recorded metrics: 0.5 mm per character and 3.15 mm high at 8 points; the index
// font is 7 points (0.4375 and 2.75625).
constexpr double kIndexHeight = 3.15 * 7 / 8;

void expectRuns(const std::vector<Segment>& got, const std::vector<Segment>& want)
{
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].text, want[i].text) << i;
        EXPECT_TRUE(near(got[i].topLeft, want[i].topLeft, 1e-5))
            << i << ": " << got[i].topLeft.x() << ", " << got[i].topLeft.y();
        EXPECT_EQ(got[i].size, want[i].size) << i;
    }
}

} // namespace

TEST_F(MarkupTextTest, RunsTakeTheirGroupsFontAndOffset)
{
    // Centred at x 20: the measured text is "kf", one millimetre wide.
    expectRuns(draw("k{t,1}f", 20, 10, 1, 0), {{"k", {19.5, 10}, 8}, {"f", {20, 10 + 0.35 * kIndexHeight}, 7}});
    // Two raised characters, then a plain run again.
    expectRuns(draw("a{h,2}bcd"),
               {{"a", {0, 0}, 8}, {"bc", {0.5, -0.25 * kIndexHeight}, 7}, {"d", {0.5 + 2 * 0.4375, 0}, 8}});
    // A count past the end takes what is there.
    expectRuns(draw("x{t,5}ab"), {{"x", {0, 0}, 8}, {"ab", {0.5, 0.35 * kIndexHeight}, 7}});
    // A character by its code, measured without it; the text ends right-aligned at 10.
    expectRuns(draw("{c,176}C", 10, 0, 2, 2), {{QStringLiteral("°"), {9.5, -3.15}, 8}, {"C", {10, -3.15}, 8}});
    expectRuns(draw("plain", 0, 10, 0, 1), {{"plain", {0, 10 - 1.575}, 8}});
    // Greek in the Symbol face, raised by a tenth of the height of "g".
    expectRuns(draw("{g,1}a"), {{QStringLiteral("α"), {0, -0.315}, 8}});
    EXPECT_TRUE(draw(Variant::Null()).empty());
    EXPECT_TRUE(draw("").empty());
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_EQ(surface.Font(), fonts[0]);
}

TEST_F(MarkupTextTest, MalformedGroupEndsTheTextAfterOneBox)
{
    struct Case { const char* text; const char* boxText; std::vector<QString> drawn; };
    const Case cases[] = {
        {"a{t1}b", "VB-Error: 0\n", {"a"}},   // no comma
        {"x{t,1", nullptr, {"x"}},            // no closing brace
        {"a{t,z}b", nullptr, {"a"}},          // a count that is no number
    };
    for (const Case& c : cases) {
        for (MsgResult answer : {MsgResult::OK, MsgResult::Cancel}) {
            dialogs->shown.clear();
            dialogs->msgAnswers = {answer};
            std::vector<QString> texts;
            for (const Segment& r : draw(c.text))
                texts.push_back(r.text);
            EXPECT_EQ(texts, c.drawn) << c.text;
            const auto boxes = dialogs->boxes();
            ASSERT_EQ(boxes.size(), 1u) << c.text;
            EXPECT_EQ(boxes[0].title, QStringLiteral("Sub TEXT, Klassenmodul clsGRAFIK"));
            EXPECT_EQ(boxes[0].buttons, MsgButtons::OKCancel);
            EXPECT_TRUE(boxes[0].text.startsWith(QStringLiteral("VB-Error: ")));
            if (c.boxText) {
                EXPECT_EQ(boxes[0].text, QString::fromUtf8(c.boxText));
            }
        }
    }
}

TEST_F(MarkupTextTest, HeaderRulesForGreekAndPrintedCharacters)
{
    const MarkupTextRules header{false, true};
    expectRuns(draw("{g,1}a", 0, 0, 0, 0, header), {{QStringLiteral("α"), {0, 0}, 8}});
    // On the printer a character by its code moves right by 0.35 of its height, and
    // the runs after it with it; on a picture it does not.
    RecordingSurface paper(297, 210, SurfaceKind::Printer);
    expectRuns(draw("{c,176}C", 0, 0, 0, 0, header, &paper),
               {{QStringLiteral("°"), {1.1025, 0}, 8}, {"C", {1.6025, 0}, 8}});
    expectRuns(draw("{c,176}C", 0, 0, 0, 0, header), {{QStringLiteral("°"), {0, 0}, 8}, {"C", {0.5, 0}, 8}});
    expectRuns(draw("{c,176}C", 0, 0, 0, 0, {}, &paper), {{QStringLiteral("°"), {0, 0}, 8}, {"C", {0.5, 0}, 8}});
}

TEST_F(MarkupTextTest, TitleAndNoteOfATable)
{
    clsTABELLE t(ctx);
    t.EOBJEKT(&surface);
    t.FUSSNOTE("keine Tremoldrücke");
    t.ERO(5);
    t.ERZ(0.2f);
    t.ERL(1);
    t.SCHRIFTEINSTELLUNGEN(QString(), 8, true);
    t.TITEL("Vertikale Schnitte");
    const auto texts = surface.of(Recorded::Text);
    ASSERT_EQ(texts.size(), 2u);
    // A fresh object: the note 1.5 in from the left margin, its top ERZ + 1.5 below the top margin.
    EXPECT_TRUE(near(texts[0].p1, {2.5 + 1.5, 2.5 + 1.5 + 1.5}));
    // The caption's bottom on 5 - 0.2 - 1.5, from the frame's left edge, in bold.
    EXPECT_TRUE(near(texts[1].p1, {1, 3.3 - 3.15}));
    EXPECT_TRUE(texts[1].font.Bold);
}
