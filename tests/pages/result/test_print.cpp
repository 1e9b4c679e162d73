// The result page printed (on a recording sheet and into a PDF file) and on screen,
// as a person looks at it.
#include "ResultFixture.h"
#include "pages/common/frmKONTEXT11.h"
#include "platform/Twips.h"
#include "support/ImageProbe.h"
#include "support/PageFiles.h"
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

namespace {

double XP(double x) { return 11 + (x + 4) * 97.0 / 13.0; }
double YP(double z) { return 7 + (z + 3) * 97.0 / 13.0; }

int px(double mm, double dpi) { return int(std::lround(mm * dpi / 25.4)); }

// The ink of an image in a region given in millimetres.
QRect inkIn(const QImage& img, QRectF mm, double dpi)
{
    return inkBox(img, QRect(QPoint(px(mm.left(), dpi), px(mm.top(), dpi)), QPoint(px(mm.right(), dpi), px(mm.bottom(), dpi))));
}

// Pixels of a colour (within a tolerance) in a region given in millimetres.
int pixelsOf(const QImage& img, QColor colour, QRectF mm, double dpi)
{
    int n = 0;
    for (int y = px(mm.top(), dpi); y <= px(mm.bottom(), dpi); ++y)
        for (int x = px(mm.left(), dpi); x <= px(mm.right(), dpi); ++x) {
            const QColor c = img.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) + std::abs(c.blue() - colour.blue()) < 90)
                ++n;
        }
    return n;
}


} // namespace

TEST_F(ResultPages, PrintingPutsEveryAreaOnTheSheetThenRedrawsTheScreen)
{
    const LocaleScope english(English());
    workedRecord();
    RecordedPage* page = load();
    bar.clear();
    page->DRUCKEN();
    const auto& sheet = page->sheet;
    const auto lines = sheet.of(Recorded::Line);
    // The diagram 3 mm left of and 5 mm below its place; the other areas 5 mm lower.
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const Recorded& r) {
        return sameSegment(r, {10 + XP(0), 35 + YP(-3)}, {10 + XP(0), 35 + YP(6)});
    }));
    const auto at = [&](const char* s, int which = 0) {
        return TextOn(sheet.of(Recorded::Text), QString::fromUtf8(s), which);
    };
    EXPECT_NEAR(at("Vertikale Schnitte").p1.x(), 138, 1e-3);
    EXPECT_NEAR(at("Sohlfläche").p1.x(), 137 + 28, 1e-3);
    const Recorded base = at("Sohlfläche");
    EXPECT_NEAR(base.p1.y() + extent(base).height(), 137 + 5 + 3.3, 1e-3);
    EXPECT_NEAR(at("Linke Seite").p1.x(), 138, 1e-3);
    EXPECT_NEAR(centre(at("Linke Seite")).y(), 35 + 4, 1e-3);
    EXPECT_NEAR(at("Stromlinie").p1.x(), 39, 1e-3);
    EXPECT_NEAR(centre(at("Stromlinie")).y(), 151, 1e-3);
    std::vector<double> notes;
    for (const Recorded& r : sheet.of(Recorded::Text))
        if (r.text == QStringLiteral("keine horizontalen Schnitte vorhanden"))
            notes.push_back(r.p1.x());
    EXPECT_EQ(notes, (std::vector<double>{137 + 2.5, 199 + 2.5}));
    // The diagram advances the bar on paper and again on screen.
    ExpectBar(BarValues({73, 75, 77, 79, 81, Span{81, 89, 12}, 73, 75, 77, 79, 81, Span{81, 89, 12}}));
    // The screen's objects are current again: the cross cursor reads the screen diagram.
    EXPECT_EQ(page->areas.size(), 8u);
    page->picBILD11_MouseDown(1, 0, 0, 0);
    page->picBILD11_MouseMove(0, 0, float(XP(4.5)), float(YP(6)));
    EXPECT_EQ(page->picBILD(11).toolTip(), QStringLiteral("x = 4.50; z = 6.00"));
    EXPECT_TRUE(project.dialogs().shown.empty());
}

TEST_F(ResultPages, PrintedIntoAPdfFileAsOneLandscapeSheet)
{
    workedRecord();
    auto* page = load<mdiSEITE1>();
    page->DRUCKEN();
    const QString pdf = host.pdf.filePath(QStringLiteral("page.pdf"));
    ASSERT_TRUE(QFile::exists(pdf));
    const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+84[12](\\.\\d+)? x 595(\\.\\d+)? pts \\(A4\\)")))) << info.toStdString();
    const QImage sheet = PdfSheet(pdf);
    ASSERT_FALSE(sheet.isNull());
    // Header inside the 15 mm margins, the section with its ordinates, the tables, the
    // legend; nothing right of the page area.
    EXPECT_FALSE(inkIn(sheet, {15, 15, 30, 6}, 100).isNull());
    EXPECT_FALSE(inkIn(sheet, {10 + XP(-0.5) - 16, 35 + YP(6) - 1, 15, 2}, 100).isNull());   // hydrostatic, left
    EXPECT_GT(pixelsOf(sheet, QColor(0, 0, 255), {10 + XP(0), 35 + YP(6) + 5, XP(4) - XP(0), 16}, 100), 20);
    EXPECT_FALSE(inkIn(sheet, {138, 52, 60, 20}, 100).isNull());    // vertical sections, left
    EXPECT_FALSE(inkIn(sheet, {165, 147, 58, 10}, 100).isNull());   // base table
    EXPECT_FALSE(inkIn(sheet, {24, 150, 40, 12}, 100).isNull());    // legend
    EXPECT_TRUE(inkIn(sheet, {263, 35, 18, 130}, 100).isNull());
}

TEST_F(ResultPages, PageOnScreenAsAPersonSeesIt)
{
    workedRecord();
    auto* page = load<mdiSEITE1>();
    ShowMaximized(page);
    const QImage shot = page->grab().toImage();
    const double dpi = page->Surface().pixelsPerInchY();
    const auto placed = [](double mm) { return mm * TwipsPerMm / TwipsPerPixel * 25.4 / 96.0; };   // as the areas stand
    const auto area = [&](double left, double top, double width, double height) {
        return QRectF(placed(left), placed(top), width, height);
    };
    // Both pressure diagrams: dashed black hydrostatic and light blue actual ordinates
    // beside the structure and under its base.
    const QRectF diagram = area(13, 30, 124, 115);
    const QRectF leftOrdinates(diagram.left() + XP(-0.5) - 16, diagram.top() + YP(3), 16, YP(6) - YP(3));
    EXPECT_FALSE(inkIn(shot, leftOrdinates, dpi).isNull());
    EXPECT_GT(pixelsOf(shot, QColor(0, 0, 255), leftOrdinates, dpi), 20);
    const QRectF underBase(diagram.left() + XP(0), diagram.top() + YP(6) + 5.5, XP(4) - XP(0), 15);
    EXPECT_GT(pixelsOf(shot, QColor(0, 0, 255), underBase, dpi), 20);
    EXPECT_FALSE(inkIn(shot, underBase, dpi).isNull());
    // The tables' bodies filled, heading strip and legend written.
    EXPECT_FALSE(inkIn(shot, area(137 + 1, 37 + 12, 49, 18), dpi).isNull());   // vertical sections
    EXPECT_FALSE(inkIn(shot, area(137 + 29, 137 + 12, 57, 6), dpi).isNull());  // base corners
    EXPECT_FALSE(inkIn(shot, area(137 + 1, 30 + 2, 20, 4), dpi).isNull());     // "Linke Seite"
    EXPECT_FALSE(inkIn(shot, area(13 + 26, 145, 30, 12), dpi).isNull());       // legend
    // Nothing outside the areas: left of them, and below them above the footer.
    EXPECT_TRUE(inkIn(shot, {0, placed(30), placed(12), placed(130)}, dpi).isNull());
    EXPECT_TRUE(inkIn(shot, {0, placed(161), placed(200), 5}, dpi).isNull());
}

// Whatever the diagram dialog makes of the scales, nothing of the section leaves the
// diagram's frame, on screen and on paper: a small pressure scale (long ordinates on
// both sides) and an x range narrower than the section (equal scales: the frame is
// narrower than its picture).
TEST_F(ResultPages, TheDiagramStaysInsideItsFrameAtEveryScale)
{
    const LocaleScope german(German());
    workedRecord();
    auto* page = load<mdiSEITE1>();
    ShowMaximized(page);
    struct Case {
        const char* pressureScale;
        const char* xRange;
    };
    const Case cases[] = {{"1,5", "12"}, {"50", "5"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pressureScale);
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<frmKONTEXT11*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->cboXDIFF->setCurrentIndex(dialog->cboXDIFF->findText(QLatin1String(c.xRange)));
            dialog->txtMSP->setText(QString::fromUtf8(c.pressureScale));
            dialog->cmdOK->click();
        });
        page->picBILD11_MouseDown(2, 0, 50, 50);
        ASSERT_FLOAT_EQ(CSng(layout(11, "XMAX")) - CSng(layout(11, "XMIN")), QString::fromUtf8(c.xRange).toFloat());
        // The frame in the area (mm): its right edge well left of the picture's.
        const double MX = CSng(layout(11, "MX")), MY = CSng(layout(11, "MY"));
        const double right = 11 + (CSng(layout(11, "XMAX")) - CSng(layout(11, "XMIN"))) / MX;
        const double bottom = 7 + (CSng(layout(11, "YMAX")) - CSng(layout(11, "YMIN"))) / MY;
        ASSERT_LT(right, 124 - 7 - 10);
        // Beside the frame, from its top to its bottom, up to the picture's edge.
        const QRectF beside(right + 0.5, 7, 124 - right - 0.5, bottom - 7);
        // Inside it, the right side's ordinates and flow line are there.
        const QRectF inside(right - 12, 7, 11, bottom - 7);
        const QImage screen = page->picBILD(11).Image();
        const double dpi = screen.width() / (124 / 25.4);
        EXPECT_TRUE(inkIn(screen, beside, dpi).isNull()) << "on screen";
        EXPECT_FALSE(inkIn(screen, inside, dpi).isNull()) << "on screen";
        page->DRUCKEN();
        const QImage sheet = PdfSheet(host.pdf.filePath(QStringLiteral("page.pdf")));
        ASSERT_FALSE(sheet.isNull());
        EXPECT_TRUE(inkIn(sheet, beside.translated(10, 35), 100).isNull()) << "on paper";
        EXPECT_FALSE(inkIn(sheet, inside.translated(10, 35), 100).isNull()) << "on paper";
    }
    EXPECT_TRUE(project.dialogs().shown.empty());
}
