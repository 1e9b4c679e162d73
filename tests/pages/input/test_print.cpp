// The input-graphic page printed (on a recording sheet and into a PDF file), and the
// page keys that switch between it and the result page.
#include "InputFixture.h"
#include "pages/result/mdiSEITE1.h"
#include "support/ImageProbe.h"
#include "support/PageFiles.h"
#include <QFile>
#include <QRegularExpression>

TEST_F(InputPages, PrintingPutsEveryAreaThreeLeftAndFiveDown)
{
    const LocaleScope english(English());
    workedRecord();
    RecordedInputPage* page = load();
    // A mark on the form where the header is: printing does not draw the header on
    // screen again, so it stays.
    PictureBox& form = page->Surface();
    form.setScaleMode(ScaleModes::Millimetres);
    form.Line(LineFlags::FirstPoint | LineFlags::FilledBox | LineFlags::Colour, 100, 2, 104, 6, Palette(12));
    const QPoint mark(qRound(102 * form.pixelsPerUnitX()), qRound(4 * form.pixelsPerUnitY()));
    form.setScaleMode(ScaleModes::Twips);
    bar.clear();
    page->DRUCKEN();

    const auto& sheet = page->sheet;
    const auto lines = sheet.of(Recorded::Line);
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const Recorded& r) {
        return sameSegment(r, {12 + XP(0), 35 + YP(-3)}, {12 + XP(0), 35 + YP(6)});
    }));
    const auto at = [&](const char* s, int which = 0) {
        return TextOn(sheet.of(Recorded::Text), QString::fromUtf8(s), which);
    };
    const auto bottom = [](const Recorded& r) { return r.p1.y() + extent(r).height(); };
    // Each area's texts at their places in it, from the area's corner on paper.
    const struct { const char* text; double left, bottom; } placed[] = {
        {"Linke Seite", 132 + 5, 35 + 4},     {"Tremolspiegelhöhe", 132 + 5, 35 + 8},
        {"Schichten", 132 + 5, 48 + 5.3},     {"Bauwerk", 132 + 5, 87 + 5.3},
        {"Stromlinien", 132 + 5, 126 + 5.3},
    };
    for (const auto& p : placed) {
        EXPECT_NEAR(at(p.text).p1.x(), p.left, 1e-3) << p.text;
        EXPECT_NEAR(bottom(at(p.text)), p.bottom, 1e-3) << p.text;
    }
    EXPECT_NEAR(rightEdge(at("GOK", 0)), 132 + 36.5, 1e-3);
    EXPECT_NEAR(rightEdge(at("GOK", 1)), 192 + 36.5, 1e-3);
    EXPECT_NEAR(at("Stromlinie").p1.x(), 12 + 26, 1e-3);
    EXPECT_NEAR(centre(at("Stromlinie")).y(), 150 + 4, 1e-3);
    // The diagram advances the bar on paper and again on screen.
    EXPECT_EQ(bar, (std::vector<float>{73, 75, 77, 79, 81, 73, 75, 77, 79, 81}));
    // The screen's objects are current again, the header as it was.
    EXPECT_EQ(page->areas.size(), 9u);
    EXPECT_EQ(form.Image().pixelColor(mark), QBColor(12));
    page->picBILD11_MouseDown(1, 0, 0, 0);
    page->picBILD11_MouseMove(0, 0, float(XP(4)), float(YP(6)));
    EXPECT_EQ(page->picBILD(11).toolTip(), QStringLiteral("x = 4.00; z = 6.00"));
    EXPECT_TRUE(project.dialogs().shown.empty());
}

namespace {

// The page with an error on paper in area 12 that no area reports itself.
class FailingOnPaper : public RecordedInputPage {
public:
    using RecordedInputPage::RecordedInputPage;
    void BILD(int16_t nr, int16_t OBJ, float XDL, float YDO) override
    {
        if (OBJ == 1 && nr == 12)
            throw VbError(VbErr::Subscript);
        RecordedInputPage::BILD(nr, OBJ, XDL, YDO);
    }
};

} // namespace

TEST_F(InputPages, CancelInThePrintingsBoxDiscardsTheSheet)
{
    workedRecord();
    auto* page = load<FailingOnPaper>();
    const RecordingSurface* screen = &page->area(11);
    project.dialogs().msgAnswers = {MsgResult::Cancel};
    page->DRUCKEN();
    const auto boxes = project.dialogs().boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, QStringLiteral("Drucken von Eingabeseite 1"));
    EXPECT_TRUE(boxes[0].text.startsWith(QStringLiteral("VB-Error: 9\n")));
    // Nothing printed, the screen not drawn again.
    EXPECT_FALSE(QFile::exists(host.pdf.filePath(QStringLiteral("page.pdf"))));
    EXPECT_EQ(&page->area(11), screen);
}

TEST_F(InputPages, PrintedIntoAPdfFileAsPageOneOfTwo)
{
    const LocaleScope german(German());
    workedRecord();
    auto* page = load<mdiESEITE1>();
    page->DRUCKEN();
    const QString pdf = host.pdf.filePath(QStringLiteral("page.pdf"));
    ASSERT_TRUE(QFile::exists(pdf));
    const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+84[12](\\.\\d+)? x 595(\\.\\d+)? pts \\(A4\\)"))))
        << info.toStdString();
    // What a reader finds on it: the header of page 1 of 2, the tables' titles and the
    // heading strip.
    const QString text = PdfText(pdf, 1);
    for (const char* s : {"Seite 1/2", "Datensatz", "Schichten", "Bauwerk", "Stromlinien", "Linke Seite",
                          "Tremolspiegelhöhe", "GOK", "1,00E-04", "Stromlinie"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(s))) << s;
    const QImage sheet = PdfSheet(pdf);
    ASSERT_FALSE(sheet.isNull());
    const auto inkIn = [&](QRectF mm) {
        const auto px = [](double v) { return int(std::lround(v * 100 / 25.4)); };
        return inkBox(sheet, QRect(QPoint(px(mm.left()), px(mm.top())), QPoint(px(mm.right()), px(mm.bottom()))));
    };
    // The structure 3 mm left and 5 mm below its place, the tables, the legend; nothing
    // right of the page area.
    EXPECT_FALSE(inkIn({12 + XP(0) - 1, 35 + YP(0), 2, 20}).isNull());
    EXPECT_FALSE(inkIn({132 + 5, 48 + 12, 33, 12}).isNull());
    EXPECT_FALSE(inkIn({192 + 5, 126 + 12, 26, 8}).isNull());
    EXPECT_FALSE(inkIn({12 + 11, 150 + 2, 30, 4}).isNull());
    EXPECT_TRUE(inkIn({254, 35, 26, 130}).isNull());
}

TEST_F(InputPages, PageUpAndPageDownSwitchBetweenTheTwoPages)
{
    workedRecord();
    auto* input = load<mdiESEITE1>();
    ShowMaximized(input);
    // Without the result page nothing happens.
    input->Form_KeyDown(33, 0);
    EXPECT_EQ(host.ActiveForm(), input);
    EXPECT_TRUE(input->isVisible());

    auto* result = load<mdiSEITE1>();
    ShowMaximized(result);
    const struct { PageForm* from; int key, shift; PageForm* to; } steps[] = {
        {result, 33, 0, input}, {input, 34, 0, result}, {result, 34, 2, input}, {input, 33, 1, result}};
    for (const auto& s : steps) {
        s.from->Form_KeyDown(s.key, s.shift);
        EXPECT_EQ(host.ActiveForm(), s.to) << s.key;
        EXPECT_TRUE(s.to->parentWidget()->isMaximized());
        EXPECT_FALSE(s.from->parentWidget()->isVisible());
    }
    // Both stay loaded; only one shows.
    EXPECT_EQ(host.Forms().size(), 2);
}
