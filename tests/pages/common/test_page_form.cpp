// The members the two pages share: printing, the context settings, the keys, the
// scroll bars, the mouse on the section diagram, the free-area click, activation,
// and the header on the page form.
#include "PageFixture.h"
#include "pages/common/frmKONTEXT.h"
#include "pages/common/frmKONTEXT11.h"
#include "platform/Colors.h"
#include "platform/Controls.h"
#include "platform/Locale.h"
#include "platform/Twips.h"
#include "platform/Yield.h"
#include "support/ImageProbe.h"
#include "support/PageFiles.h"
#include "support/TestHelpers.h"
#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QTimer>

namespace {

class PageTest : public HostedPages {
protected:
    // The printed sheet at 100 dots per inch.
    QImage printedSheet()
    {
        return PdfSheet(host.pdf.filePath(QStringLiteral("page.pdf")));
    }
    static int px(double mm, double dpi = 100) { return int(std::lround(mm * dpi / 25.4)); }
    // Ink in a region of an image given in millimetres.
    static bool inkIn(const QImage& img, QRectF mm, double dpi)
    {
        return !inkBox(img, QRect(QPoint(px(mm.left(), dpi), px(mm.top(), dpi)),
                                  QPoint(px(mm.right(), dpi), px(mm.bottom(), dpi))))
                    .isNull();
    }
    static void press(QWidget* w, QPointF at, Qt::MouseButton button, QEvent::Type type = QEvent::MouseButtonPress)
    {
        QMouseEvent event(type, at, w->mapToGlobal(at), button, type == QEvent::MouseButtonRelease ? Qt::NoButton : button,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(w, &event);
    }
};

using Call = TestPage::Call;

} // namespace

TEST_F(PageTest, PrintingPutsEveryAreaAtItsPlaceThenRedrawsTheScreen)
{
    struct Case { PageForm::Spec spec; bool headerOnScreen; };
    for (const Case& c : {Case{ResultPageSpec(), true}, Case{InputPageSpec(), false}}) {
        TestPage* p = page(c.spec);
        p->Surface().Cls();
        p->DRUCKEN();
        EXPECT_EQ(p->drawn, (std::vector<Call>{{11, 1, -3, 5}, {12, 1, 0, 5}, {18, 1, 0, 5},
                                                {11, 0, 0, 0}, {12, 0, 0, 0}, {18, 0, 0, 0}}));
        // The result page draws its header on screen again; the input page leaves it.
        const double dpi = p->Surface().pixelsPerInchY();
        EXPECT_EQ(inkIn(p->Surface().Image(), QRectF(15, 7.5, 25, 6), dpi), c.headerOnScreen);
        const QImage sheet = printedSheet();
        ASSERT_FALSE(sheet.isNull());
        EXPECT_TRUE(inkIn(sheet, QRectF(15, 15, 25, 6), 100));   // the header's title
        // The table 5 mm below its place: its frame's left edge at 138 mm, from 47 mm.
        EXPECT_TRUE(inked(sheet, px(138), px(50)) || inked(sheet, px(138) + 1, px(50)));
        EXPECT_FALSE(inkIn(sheet, QRectF(135, 40, 2, 5), 100));
        // The section diagram 3 mm further left: its frame at 13 - 3 + 1 mm.
        EXPECT_TRUE(inked(sheet, px(11), px(100)) || inked(sheet, px(11) + 1, px(100)));
        EXPECT_TRUE(project.dialogs().shown.empty());
        delete p->parentWidget();
        host.printer.reset();
        QFile::remove(host.pdf.filePath(QStringLiteral("page.pdf")));
    }
}

TEST_F(PageTest, PrintingWithoutHeaderAndCancelledPrinting)
{
    TestPage* p = page(ResultPageSpec());
    p->BOKF = false;
    p->Surface().Cls();
    p->DRUCKEN();
    EXPECT_FALSE(inkIn(p->Surface().Image(), QRectF(15, 7.5, 25, 6), p->Surface().pixelsPerInchY()));
    EXPECT_FALSE(inkIn(printedSheet(), QRectF(15, 15, 25, 6), 100));
    host.printer.reset();
    QFile::remove(host.pdf.filePath(QStringLiteral("page.pdf")));

    // An error answered with Cancel: nothing of the page is printed, the screen stays.
    p->drawn.clear();
    p->failOnPaper = true;
    project.dialogs().msgAnswers = {MsgResult::Cancel};
    p->DRUCKEN();
    const auto boxes = project.dialogs().boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, QStringLiteral("Drucken von Seite 1"));
    EXPECT_TRUE(boxes[0].text.startsWith(QStringLiteral("VB-Fehler: 9\n")));
    EXPECT_EQ(p->drawn, (std::vector<Call>{{11, 1, -3, 5}, {12, 1, 0, 5}}));
    EXPECT_FALSE(QFile::exists(host.pdf.filePath(QStringLiteral("page.pdf"))));
}

TEST_F(PageTest, ContextSettingsRecolourAndRedraw)
{
    TestPage* p = page(ResultPageSpec());
    const double dpi = p->Surface().pixelsPerInchY();
    bool header = false, numbering = false;
    int32_t pageColour = LongFromColor(QColor(255, 255, 0)), areaColour = LongFromColor(QColor(0, 255, 255));
    p->KONTEXT(header, numbering, pageColour, areaColour);
    EXPECT_EQ(p->BackColor(), pageColour);
    EXPECT_EQ(p->Surface().Image().pixelColor(2, 2), QColor(255, 255, 0));
    EXPECT_FALSE(inkIn(p->Surface().Image(), QRectF(15, 7.5, 25, 6), dpi));
    EXPECT_EQ(p->picBILD(18).Image().pixelColor(50, 20), QColor(0, 255, 255));
    EXPECT_EQ(p->drawn, (std::vector<Call>{{11, 0, 0, 0}, {12, 0, 0, 0}, {18, 0, 0, 0}}));
    header = numbering = true;
    p->KONTEXT(header, numbering, pageColour, areaColour);
    EXPECT_TRUE(p->BOKF);
    EXPECT_TRUE(inkIn(p->Surface().Image(), QRectF(15, 7.5, 25, 6), dpi));
}

TEST_F(PageTest, PageKeys)
{
    struct Case { int key; int shift; QStringList calls; };
    const Case cases[] = {
        {112, 0, {"help"}},
        {27, 1, {"panel 15"}},
        {81, 4, {"end"}},
        {81, 0, {}},
        {83, 2, {"panel 10"}},
        {80, 2 | 4, {"panel 11"}},   // only the Ctrl bit counts
        {67, 2, {"panel 12"}},
        {87, 2, {"panel 13"}},
        {65, 2, {"panel 14"}},
        {80, 0, {}},
    };
    TestPage* p = page(ResultPageSpec());
    for (const Case& c : cases) {
        host.calls.clear();
        p->Form_KeyDown(c.key, c.shift);
        EXPECT_EQ(host.calls, c.calls) << c.key << " " << c.shift;
    }
    // Page Down without the other page does nothing; with it, it switches pages.
    p->Form_KeyDown(34, 0);
    EXPECT_FALSE(p->parentWidget()->isHidden());
    TestPage* input = page(InputPageSpec());
    input->Form_KeyDown(33, 0);
    EXPECT_TRUE(input->parentWidget()->isHidden());
    EXPECT_FALSE(p->parentWidget()->isHidden());
    EXPECT_TRUE(p->parentWidget()->isMaximized());
    // A key pressed on the page is handled once the event is done.
    host.calls.clear();
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QCoreApplication::sendEvent(p, &f1);
    EXPECT_TRUE(host.calls.isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(host.calls, QStringList{"help"});
}

TEST_F(PageTest, KeysThatComeDueWhileThePagePrintsAreNotRun)
{
    TestPage* p = page(ResultPageSpec());
    // Esc arrives just before the printing's first yield, which runs due timers.
    bool sent = false;
    SetDoEventsHook([&] {
        if (sent)
            return;
        sent = true;
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(p, &esc);
    });
    host.calls.clear();
    p->DRUCKEN();
    SetDoEventsHook(nullptr);
    QCoreApplication::processEvents();
    EXPECT_TRUE(sent);
    EXPECT_TRUE(host.calls.isEmpty());
}

TEST_F(PageTest, ScrollBarRedrawsItsTable)
{
    TestPage* p = page(ResultPageSpec());
    p->BILD(12, 0, 0, 0);
    VScrollBar* bar = p->vscBILD(12);
    ASSERT_TRUE(bar->Visible());   // 13 rows do not fit
    p->drawn.clear();
    bar->setValue(10000);
    EXPECT_EQ(p->drawn, (std::vector<Call>{{12, 0, 0, 0}}));
    EXPECT_EQ(p->TABELLE12->EEZ(), 1);
    EXPECT_EQ(p->TABELLE12->ELZ(), 12);
}

TEST_F(PageTest, RightClickOnTheDiagramOpensItsDialog)
{
    TestPage* p = page(ResultPageSpec());
    for (bool confirm : {false, true}) {
        p->drawn.clear();
        QTimer::singleShot(0, [confirm] {
            auto* dialog = qobject_cast<frmKONTEXT11*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            (confirm ? dialog->cmdOK : dialog->cmdABBRECHEN)->click();
        });
        press(&p->picBILD(11), QPointF(50, 50), Qt::RightButton);
        // Confirmed: the diagram and the legend are redrawn, and the mark is cleared.
        const std::vector<Call> redrawn = confirm ? std::vector<Call>{{11, 0, 0, 0}, {18, 0, 0, 0}} : std::vector<Call>{};
        EXPECT_EQ(p->drawn, redrawn);
        EXPECT_EQ(p->Tag, QString());
    }
}

TEST_F(PageTest, CrossCursorShowsSectionCoordinates)
{
    const LocaleScope german(German());
    project.exec(QStringLiteral("INSERT INTO G0 (ID, IDOBJEKT, OX, OY, RL, RR, RO, RU, XMIN, XMAX, YMIN, YMAX, MX, MY) "
                                "VALUES (7, 11, 1, -1, 0, 0, 0, 0, 0, 124, 0, 115, 0.5, 0.5)"));
    TestPage* p = page(ResultPageSpec());
    p->diagram = true;
    p->BILD(11, 0, 0, 0);
    PictureBox& pic = p->picBILD(11);
    const double perMm = pic.pixelsPerUnitX();
    const QPointF at(10 * perMm, 20 * perMm);   // 10 mm, 20 mm
    press(&pic, at, Qt::NoButton, QEvent::MouseMove);
    EXPECT_EQ(pic.toolTip(), QString());
    press(&pic, at, Qt::LeftButton);
    EXPECT_EQ(pic.cursor().shape(), Qt::CrossCursor);
    press(&pic, at, Qt::NoButton, QEvent::MouseMove);
    EXPECT_EQ(pic.toolTip(), QStringLiteral("x = 5,00; z = 10,00"));
    press(&pic, at, Qt::LeftButton);
    EXPECT_NE(pic.cursor().shape(), Qt::CrossCursor);
    press(&pic, at, Qt::NoButton, QEvent::MouseMove);
    EXPECT_EQ(pic.toolTip(), QString());
    // While the hourglass shows, a click never switches the cross on.
    SetMousePointer(11);
    press(&pic, at, Qt::LeftButton);
    SetMousePointer(0);
    EXPECT_NE(pic.cursor().shape(), Qt::CrossCursor);
    EXPECT_TRUE(project.dialogs().shown.empty());
}

TEST_F(PageTest, ClickOnTheFreeAreaOpensThePageContext)
{
    const auto contextShown = [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<frmKONTEXT*>(w) && w->isVisible())
                return static_cast<frmKONTEXT*>(w);
        return static_cast<frmKONTEXT*>(nullptr);
    };
    TestPage* p = page(ResultPageSpec());
    p->BOKFS = false;
    // A click on an area is no click on the page.
    press(p, p->picBILD(12).geometry().center(), Qt::LeftButton, QEvent::MouseButtonRelease);
    EXPECT_EQ(contextShown(), nullptr);
    press(p, QPoint(5, 5), Qt::LeftButton, QEvent::MouseButtonRelease);
    frmKONTEXT* dialog = contextShown();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(CheckValue(*dialog->chkBOKF), 1);
    EXPECT_EQ(CheckValue(*dialog->chkBOKFS), 0);
}

TEST_F(PageTest, ActivationHidesTheSpareStatusPanel)
{
    TestPage* first = page(ResultPageSpec());
    page(InputPageSpec());
    host.calls.clear();
    host.mdiArea->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first->parentWidget()));
    EXPECT_EQ(host.calls, QStringList{"panel 14 hidden"});
}

TEST_F(PageTest, HeaderAndTableOnThePageAsAPersonSeesIt)
{
    TestPage* p = page(ResultPageSpec());
    p->Kopffusszeile(0);
    p->BILD(12, 0, 0, 0);
    const QImage shot = p->grab().toImage();
    const double dpi = p->Surface().pixelsPerInchY();
    const auto at = [&](double mm) { return mm * TwipsPerMm / TwipsPerPixel; };   // placed as twips
    // The title 15 mm in and 7.5 mm down, the project at the right, the editor at the bottom.
    const QRect title = inkBox(shot, QRect(QPoint(px(14, dpi), px(7, dpi)), QPoint(px(60, dpi), px(16, dpi))));
    ASSERT_FALSE(title.isNull());
    EXPECT_NEAR(title.left(), px(15, dpi), 3);
    const double right = host.ScaleWidth() / 15 - px(15, dpi);   // the client area's right margin
    const QRect project = inkBox(shot, QRect(QPoint(int(right) - 120, px(7, dpi)), QPoint(int(right) + 5, px(16, dpi))));
    ASSERT_FALSE(project.isNull());
    EXPECT_NEAR(project.right(), right, 3);
    const double bottom = host.ScaleHeight() / 15 - px(7.5, dpi);
    EXPECT_FALSE(inkBox(shot, QRect(QPoint(px(15, dpi), int(bottom) - 12), QPoint(px(50, dpi), int(bottom)))).isNull());
    // The table's frame in its area, and its first row.
    const QPoint table(int(at(137)), int(at(37)));
    EXPECT_TRUE(inked(shot, table.x() + px(1, dpi), table.y() + px(20, dpi))
                || inked(shot, table.x() + px(1, dpi) - 1, table.y() + px(20, dpi)));
    EXPECT_FALSE(inkBox(shot, QRect(table + QPoint(px(2, dpi), px(12, dpi)), table + QPoint(px(9, dpi), px(15, dpi))))
                     .isNull());
    EXPECT_TRUE(p->vscBILD(12)->isVisible());
}

TEST_F(PageTest, LoadingAdvancesTheStartWindowsBar)
{
    std::vector<float> values;
    project.ctx().pgbBERECHNEN = [&](float v) { values.push_back(v); };
    struct Loading : TestPage {
        using TestPage::TestPage;
        void load()
        {
            progress(15);
            progress(100);
        }
    };
    Loading p(host, ResultPageSpec());
    p.load();
    EXPECT_EQ(values, (std::vector<float>{15, 100}));
}
