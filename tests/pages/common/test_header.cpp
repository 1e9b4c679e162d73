// The page header and footer: its texts, where they stand on paper and on the screen's
// page form, the designation line, the two languages, and a printed PDF page.
#include "PagesFixture.h"
#include "pages/common/clsKOPFFUSS.h"
#include "platform/PrinterSurface.h"
#include "support/ImageProbe.h"
#include "support/PageFiles.h"
#include "support/TestHelpers.h"
#include <QDate>
#include <QTemporaryDir>

namespace {

// Recorded heights of one line at 16, 10 and 7 points.
constexpr double T16 = 3.15 * 2, T10 = 3.15 * 10 / 8, T7 = 3.15 * 7 / 8;

class TwipsFrame : public PageFrame {
public:
    TwipsFrame(double widthMm, double heightMm) : w_(widthMm * 1440 / 25.4), h_(heightMm * 1440 / 25.4) {}
    double ScaleWidth() const override { return w_; }
    double ScaleHeight() const override { return h_; }

private:
    double w_, h_;
};

class HeaderTest : public ::testing::Test, protected ScriptedContext {
protected:
    RecordingSurface paper{297, 210, SurfaceKind::Printer};

    // The result page's header on the given object, German texts, 14:05 on 10.12.2025.
    std::unique_ptr<clsKOPFFUSS> header(OutputObject& on)
    {
        auto k = std::make_unique<clsKOPFFUSS>(ctx);
        k->AUSGABEOBJEKT(on);
        k->UEBERSCHRIFT(QStringLiteral("Tremola"));
        k->KENNZEICHNUNG(Variant("Spundwand"));
        k->KOMMENTAR(QStringLiteral("Baugrube Nord"));
        k->PROJEKT(QStringLiteral("TE0000.00"));
        k->SEITE(2);
        k->SEITENANZAHL(2);
        k->BEARBEITER(QStringLiteral("NAME"));
        k->PROGRAMMIERER(QStringLiteral("Team"));
        k->COPYRIGHT(QStringLiteral("Copyright (C) Gruppe"));
        k->DATUM(FromDateTime(QDateTime(QDate(2025, 12, 10), QTime(0, 0))));
        k->UHRZEIT(FromDateTime(QDateTime(QDate(1899, 12, 30), QTime(14, 5))));
        return k;
    }
    const Recorded* find(const RecordingSurface& s, const QString& text) const
    {
        for (const Recorded& r : s.records)
            if (r.kind == Recorded::Text && r.text == text)
                return &r;
        return nullptr;
    }
    const Recorded& text(const QString& t) const
    {
        const Recorded* r = find(paper, t);
        if (!r)
            throw std::runtime_error("no text " + t.toStdString());
        return *r;
    }
    double bottom(const Recorded& r) const { return r.p1.y() + extent(r).height(); }
};

} // namespace

TEST_F(HeaderTest, PaperLayoutInsideTheMargins)
{
    const LocaleScope german(German());
    header(paper)->KOPFFUSSZEILE();
    const Recorded& title = text("Tremola");
    EXPECT_TRUE(near(title.p1, {15, 15}));
    EXPECT_EQ(title.font.Size, 16.0f);
    EXPECT_TRUE(title.font.Bold);
    const Recorded& designation = text(QStringLiteral("Datensatz Spundwand"));
    EXPECT_TRUE(near(designation.p1, {15, 24}));
    EXPECT_EQ(designation.font.Size, 10.0f);
    EXPECT_FALSE(designation.font.Bold);
    EXPECT_TRUE(near(text("Baugrube Nord").p1, {15, 24 + 1.5 * T10}));
    // The project ends at the right margin, its line level with the title's.
    const Recorded& project = text("Projekt TE0000.00");
    EXPECT_NEAR(rightEdge(project), 282, 1e-4);
    EXPECT_NEAR(project.p1.y(), 15 + T16 - T10, 1e-4);
    // The page number ends fifteen blanks before the project text.
    const Recorded& page = text("Seite 2/2");
    EXPECT_NEAR(rightEdge(page) + 15 * 0.625, project.p1.x(), 1e-4);
    EXPECT_NEAR(page.p1.y(), project.p1.y(), 1e-4);
    // Footer: the editor on the left, date over time in the middle, the credit block
    // on the right, its longer line ending at the right margin.
    const Recorded& editor = text("Bearbeiter: NAME");
    EXPECT_NEAR(editor.p1.x(), 15, 1e-4);
    EXPECT_NEAR(bottom(editor), 195, 1e-4);
    EXPECT_EQ(editor.font.Size, 7.0f);
    const Recorded& credit = text("Programmentwicklung: Team");
    const Recorded& copyright = text("Copyright (C) Gruppe");
    EXPECT_NEAR(bottom(credit), 195, 1e-4);
    EXPECT_NEAR(bottom(copyright), 195 + T7, 1e-4);
    EXPECT_NEAR(credit.p1.x(), copyright.p1.x(), 1e-4);
    EXPECT_NEAR(std::max(rightEdge(credit), rightEdge(copyright)), 282, 1e-4);
    const Recorded& date = text("10.12.2025");
    const Recorded& time = text("14:05");
    EXPECT_NEAR(centre(date).x(), 148.5, 1e-4);
    EXPECT_NEAR(centre(time).x(), 148.5, 1e-4);
    EXPECT_NEAR(bottom(date), 195, 1e-4);
    EXPECT_NEAR(bottom(time), 195 + T7, 1e-4);
    EXPECT_EQ(paper.Font(), (FontSpec{QStringLiteral("Arial"), 7.0f}));
    EXPECT_EQ(paper.ForeColor(), 0);
    EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(HeaderTest, WithoutNumberingTheProjectStays)
{
    auto k = header(paper);
    k->EBOKFS(false);
    k->KOPFFUSSZEILE();
    EXPECT_EQ(find(paper, QStringLiteral("Seite 2/2")), nullptr);
    EXPECT_NEAR(rightEdge(text("Projekt TE0000.00")), 282, 1e-4);
}

TEST_F(HeaderTest, DesignationLine)
{
    // A page 100 mm wide: 70 mm between the margins, less the label's 6.25 mm at 10 points.
    RecordingSurface narrow(100, 50, SurfaceKind::Printer);
    const QString a(30, QLatin1Char('a')), b(30, QLatin1Char('b')), c(30, QLatin1Char('c')),
        d(30, QLatin1Char('d')), wide(200, QLatin1Char('w'));
    struct Case { std::vector<Variant> designations; QString line; };
    const Case cases[] = {
        {{"A"}, QStringLiteral("Datensatz A")},
        {{"A", "B"}, QString::fromUtf8("Datensätze A, B")},
        // The fourth no longer fits: the line ends there, and no later one is tried.
        {{a, b, c, d, "e"}, QString::fromUtf8("Datensätze ") + a + ", " + b + ", " + c + ", ..."},
        {{wide, "B"}, QString::fromUtf8("Datensätze ") + wide + ", ..."},
    };
    for (const Case& cs : cases) {
        narrow.records.clear();
        clsKOPFFUSS k(ctx);
        k.AUSGABEOBJEKT(narrow);
        k.KENNZEICHNUNG(cs.designations);
        k.KOPFFUSSZEILE();
        EXPECT_NE(find(narrow, cs.line), nullptr) << cs.line.toStdString();
    }
    // The default designation is empty: no line, but the comment keeps its place.
    clsKOPFFUSS k(ctx);
    k.AUSGABEOBJEKT(paper);
    k.KOMMENTAR(QStringLiteral("{g,1}a"));   // mark-up, Greek not raised
    k.KOPFFUSSZEILE();
    for (const Recorded& r : paper.of(Recorded::Text))
        EXPECT_FALSE(r.text.startsWith(QStringLiteral("Datensatz")));
    EXPECT_TRUE(near(text(QStringLiteral("α")).p1, {15, 24 + 1.5 * T10}));
}

TEST_F(HeaderTest, Languages)
{
    struct Case { int16_t sprache; std::vector<QString> texts; };
    const Case cases[] = {
        {1, {"File Spundwand", "Project TE0000.00", "Page 2/2", "Program developed by Team", "Project Manager: NAME"}},
        {3, {"Datensatz Spundwand", "Projekt TE0000.00", "Seite 2/2", "Programmentwicklung: Team", "Bearbeiter: NAME"}},
    };
    for (const Case& c : cases) {
        paper.records.clear();
        auto k = header(paper);
        k->SPRACHE(c.sprache);
        k->KOPFFUSSZEILE();
        for (const QString& t : c.texts)
            EXPECT_NE(find(paper, t), nullptr) << c.sprache << " " << t.toStdString();
        // In English the page text starts where the German one would: the measure is German.
        if (c.sprache == 1) {
            EXPECT_NEAR(text("Page 2/2").p1.x(), text("Project TE0000.00").p1.x() - 24 * 0.625, 1e-4);
        }
    }
    // Any other language draws those texts empty and keeps the label.
    paper.records.clear();
    auto k = header(paper);
    k->SPRACHE(2);
    k->KENNZEICHNUNG(std::vector<Variant>{"A", "B"});
    k->KOPFFUSSZEILE();
    EXPECT_NE(find(paper, QStringLiteral("Datensatz  A, B")), nullptr);
    for (const char* t : {"Projekt", "Seite", "Bearbeiter", "Programmentwicklung"})
        for (const Recorded& r : paper.of(Recorded::Text))
            EXPECT_FALSE(r.text.contains(QLatin1String(t))) << r.text.toStdString();
}

TEST_F(HeaderTest, ScreenMarginsInTwips)
{
    // The page form measures in twips; its frame is the main window's client area.
    RecordingSurface form(297, 210);
    form.setScaleMode(ScaleModes::Twips);
    const TwipsFrame frame(297, 210);
    const double twipsPerMm = 1440 / 25.4;
    auto k = header(form);
    k->AUSGABEOBJEKT(frame, form);
    k->RANDABSTAND(QString(), 15);
    k->RANDABSTAND(QStringLiteral("oben"), 7.5f);
    k->RANDABSTAND(QStringLiteral("unten"), 7.5f);
    k->KOPFFUSSZEILE();
    const Recorded* title = find(form, QStringLiteral("Tremola"));
    ASSERT_NE(title, nullptr);
    EXPECT_NEAR(title->p1.x(), 15 * twipsPerMm, 1e-3);
    EXPECT_NEAR(title->p1.y(), 7.5 * twipsPerMm, 1e-3);
    EXPECT_NEAR(find(form, QStringLiteral("Datensatz Spundwand"))->p1.y(), 16.5 * twipsPerMm, 1e-3);
    const Recorded* editor = find(form, QStringLiteral("Bearbeiter: NAME"));
    EXPECT_NEAR(editor->p1.y() + T7 * twipsPerMm, (210 - 7.5) * twipsPerMm, 1e-3);
    EXPECT_EQ(form.ScaleMode(), ScaleModes::Twips);

    // Setting the object again resets the margins to 15 mm.
    form.records.clear();
    k->AUSGABEOBJEKT(frame, form);
    k->KOPFFUSSZEILE();
    EXPECT_NEAR(find(form, QStringLiteral("Tremola"))->p1.y(), 15 * twipsPerMm, 1e-3);
}

TEST_F(HeaderTest, DateAndTimeTexts)
{
    struct Case { QLocale locale; QTime time; const char* date; const char* clock; };
    const Case cases[] = {
        {German(), QTime(14, 5), "10.12.2025", "14:05"},
        {German(), QTime(9, 7), "10.12.2025", "09:07"},
        {English(), QTime(23, 59), "12/10/2025", "23:59"},
    };
    for (const Case& c : cases) {
        const LocaleScope scope(c.locale);
        paper.records.clear();
        auto k = header(paper);
        k->UHRZEIT(FromDateTime(QDateTime(QDate(1899, 12, 30), c.time)));
        k->KOPFFUSSZEILE();
        EXPECT_NE(find(paper, QString::fromLatin1(c.date)), nullptr) << c.date;
        EXPECT_NE(find(paper, QString::fromLatin1(c.clock)), nullptr) << c.clock;
    }
}

TEST_F(HeaderTest, PrintedPdfPage)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    {
        PrinterSurface printer(pdf);
        printer.setScaleMode(ScaleModes::Millimetres);
        auto k = header(printer);
        k->KENNZEICHNUNG(std::vector<Variant>{"Spundwand links", "Spundwand rechts"});
        k->KOPFFUSSZEILE();
        printer.EndDoc();
    }
    // What a person sees on the sheet, at 100 dots per inch.
    const QImage page = PdfSheet(pdf);
    ASSERT_FALSE(page.isNull());
    const double pxPerMm = 100 / 25.4;
    EXPECT_NEAR(page.width(), 297 * pxPerMm, 2);   // A4 landscape
    EXPECT_NEAR(page.height(), 210 * pxPerMm, 2);
    const auto px = [&](double mm) { return int(std::lround(mm * pxPerMm)); };
    // All ink inside the margins: the second footer line hangs below the bottom one.
    const QRect ink = inkBox(page);
    EXPECT_GE(ink.left(), px(15) - 1);
    EXPECT_LE(ink.right(), px(282) + 1);
    EXPECT_GE(ink.top(), px(15) - 1);
    EXPECT_LE(ink.bottom(), px(195 + 3.2));
    // Something in each corner: title, project, editor, credit block; and the middle.
    EXPECT_FALSE(inkBox(page, QRect(QPoint(px(15), px(15)), QPoint(px(40), px(21)))).isNull());
    EXPECT_FALSE(inkBox(page, QRect(QPoint(px(250), px(15)), QPoint(px(282), px(21)))).isNull());
    EXPECT_FALSE(inkBox(page, QRect(QPoint(px(15), px(190)), QPoint(px(40), px(195)))).isNull());
    EXPECT_FALSE(inkBox(page, QRect(QPoint(px(250), px(190)), QPoint(px(282), px(198)))).isNull());
    EXPECT_FALSE(inkBox(page, QRect(QPoint(px(140), px(190)), QPoint(px(157), px(198)))).isNull());
    EXPECT_FALSE(inkBox(page, QRect(QPoint(px(15), px(24)), QPoint(px(60), px(28)))).isNull());
}
