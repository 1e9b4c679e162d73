// The page chooser, the page context dialog and the diagram context dialog as widgets
// on the offscreen platform, with pages on a main-window stand-in.
#include "PageFixture.h"
#include "pages/common/frmANZEIGEN.h"
#include "pages/common/frmKONTEXT.h"
#include "pages/common/frmKONTEXT11.h"
#include "data/clsDATEN.h"
#include "platform/Colors.h"
#include "platform/Controls.h"
#include "platform/Locale.h"
#include "platform/Yield.h"
#include "support/TestHelpers.h"
#include <QApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

namespace {

class DialogTest : public HostedPages {
protected:
    // The result page loaded first, then the input page; the result page active.
    std::pair<TestPage*, TestPage*> bothPages()
    {
        TestPage* result = page(ResultPageSpec());
        TestPage* input = page(InputPageSpec());
        host.mdiArea->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(result->parentWidget()));
        return {input, result};
    }
    static bool shown(QWidget* form) { return !form->parentWidget()->isHidden(); }
    static bool maximized(QWidget* form) { return form->parentWidget()->isMaximized(); }
};

// ---------------------------------------------------------------- page chooser

TEST_F(DialogTest, ChooserListsThePagesInPageOrderAndShowsTheChosenOne)
{
    const auto [input, result] = bothPages();
    frmANZEIGEN& chooser = frmANZEIGEN::instance(host);
    EXPECT_EQ(chooser.parentWidget(), &host);
    EXPECT_EQ(chooser.windowTitle(), QStringLiteral("Anzeigen"));
    EXPECT_EQ(chooser.lblSEITEN[1]->text(), QStringLiteral("2"));
    EXPECT_EQ(chooser.txtSEITE->text(), QStringLiteral("2"));   // the result page is page 2
    EXPECT_EQ(chooser.txtSEITE->maxLength(), 1);
    chooser.txtSEITE->setText(QStringLiteral("1"));
    chooser.cmdOK->click();
    EXPECT_TRUE(shown(input));
    EXPECT_TRUE(maximized(input));
    EXPECT_FALSE(shown(result));
    EXPECT_EQ(host.Forms().size(), 2);   // hidden, still loaded
    // Loaded again, it lists the hidden page as well.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmANZEIGEN::instance(host).lblSEITEN[1]->text(), QStringLiteral("2"));
}

TEST_F(DialogTest, ChooserFieldBecomesAPageNumber)
{
    bothPages();
    frmANZEIGEN& chooser = frmANZEIGEN::instance(host);
    chooser.Show();
    EXPECT_EQ(chooser.focusWidget(), chooser.txtSEITE);
    EXPECT_EQ(chooser.txtSEITE->selectedText(), QStringLiteral("2"));
    // At the lower right of the screen.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(chooser.frameGeometry().left(), screen.width() - qRound(1.5 * chooser.frameGeometry().width()));
    EXPECT_EQ(chooser.frameGeometry().top(), screen.height() - 2 * chooser.frameGeometry().height());
    struct Case { const char* typed; const char* number; };
    for (const Case c : {Case{"5", "2"}, Case{"0", "1"}, Case{"a", "1"}, Case{"-", "1"}, Case{"", "1"}, Case{"2", "2"}}) {
        chooser.txtSEITE->setText(QString::fromUtf8(c.typed));
        QFocusEvent leave(QEvent::FocusOut);
        QCoreApplication::sendEvent(chooser.txtSEITE, &leave);
        EXPECT_EQ(chooser.txtSEITE->text(), QString::fromUtf8(c.number)) << c.typed;
    }
}

TEST_F(DialogTest, ChooserWithoutPagesOrWithoutAPageActive)
{
    // No page: count 0, OK closes and changes nothing.
    {
        frmANZEIGEN& chooser = frmANZEIGEN::instance(host);
        EXPECT_EQ(chooser.lblSEITEN[1]->text(), QStringLiteral("0"));
        chooser.cmdOK->click();
        EXPECT_FALSE(chooser.isVisible());
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // The start window active: the field stays empty; OK shows page 1.
    const auto [input, result] = bothPages();
    HideForm(input);
    auto* start = new QWidget;
    start->setObjectName(QStringLiteral("mdiAUTOSTART"));
    host.load(start);
    frmANZEIGEN& chooser = frmANZEIGEN::instance(host);
    EXPECT_EQ(chooser.txtSEITE->text(), QString());
    chooser.cmdOK->click();
    EXPECT_TRUE(shown(input));
    EXPECT_FALSE(shown(result));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // No active form at all.
    host.noActiveForm = true;
    EXPECT_EQ(frmANZEIGEN::instance(host).txtSEITE->text(), QString());
}

TEST_F(DialogTest, ChooserSkipsAPageUnloadedWhileItIsOpen)
{
    const auto [input, result] = bothPages();
    frmANZEIGEN& chooser = frmANZEIGEN::instance(host);
    delete input->parentWidget();
    chooser.txtSEITE->setText(QStringLiteral("2"));
    chooser.cmdOK->click();
    EXPECT_TRUE(shown(result));
}

TEST_F(DialogTest, ChooserAndPageContextInEnglish)
{
    project.ctx().SPRACHE = 1;
    frmANZEIGEN& chooser = frmANZEIGEN::instance(host);
    EXPECT_EQ(chooser.windowTitle(), QStringLiteral("Show"));
    EXPECT_EQ(chooser.lblSEITEN[0]->text(), QStringLiteral("Available Pages:"));
    EXPECT_EQ(chooser.lblSEITE->text(), QStringLiteral("Show Page Nr.: "));
    // The labels are wide enough for their texts, and stay clear of the field.
    for (QLabel* label : {chooser.lblSEITEN[0], chooser.lblSEITE}) {
        EXPECT_LE(label->sizeHint().width(), label->width()) << label->text().toStdString();
        EXPECT_LE(label->sizeHint().height(), label->height()) << label->text().toStdString();
    }
    EXPECT_LT(chooser.lblSEITE->geometry().right(), chooser.txtSEITE->geometry().left());
    EXPECT_EQ(chooser.cmdABBRECHEN->text(), QStringLiteral("Cancel"));
    frmKONTEXT& context = frmKONTEXT::instance(host);
    EXPECT_EQ(context.windowTitle(), QStringLiteral("context menue of page"));
    EXPECT_EQ(context.fraSKALEN->title(), QStringLiteral("page layout"));
    EXPECT_EQ(context.cmdFARBEN[0]->text(), QStringLiteral("color of page"));
    EXPECT_EQ(context.cmdFARBEN[1]->text(), QStringLiteral("color of pictureboxes"));
    EXPECT_EQ(context.chkBOKF->text(), QStringLiteral("draw head and foot line "));
    EXPECT_EQ(context.chkBOKFS->text(), QStringLiteral("draw page numbering "));
    EXPECT_EQ(context.cmdABBRECHEN->text(), QStringLiteral("Cancel"));
    project.ctx().SPRACHE = 3;
    context.close();
    chooser.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmKONTEXT::instance(host).chkBOKF->text(), QString::fromUtf8("Kopf / Fußzeile darstellen"));
    EXPECT_EQ(frmANZEIGEN::instance(host).lblSEITE->text(), QStringLiteral("Anzeigen: "));
}

// ---------------------------------------------------------------- page context dialog

TEST_F(DialogTest, PageContextChecksFollowTheHeaderSwitch)
{
    frmKONTEXT& dialog = frmKONTEXT::instance(host);
    EXPECT_EQ(dialog.parentWidget(), nullptr);
    SetTag(*dialog.chkBOKF, QStringLiteral("1"));
    SetTag(*dialog.chkBOKFS, QStringLiteral("1"));
    dialog.Show();
    EXPECT_EQ(CheckValue(*dialog.chkBOKF), 1);
    EXPECT_EQ(CheckValue(*dialog.chkBOKFS), 1);
    EXPECT_EQ(dialog.frameGeometry().topLeft(), QPoint(76, 132));   // 20 and 35 mm
    SetCheckValue(*dialog.chkBOKF, 0);
    EXPECT_EQ(CheckValue(*dialog.chkBOKFS), 0);
    EXPECT_FALSE(dialog.chkBOKFS->isEnabled());
    SetCheckValue(*dialog.chkBOKF, 1);
    EXPECT_EQ(CheckValue(*dialog.chkBOKFS), 1);
    EXPECT_TRUE(dialog.chkBOKFS->isEnabled());
    SetTag(*dialog.chkBOKF, QStringLiteral("0"));
    SetTag(*dialog.chkBOKFS, QStringLiteral("0"));
    dialog.Show();
    EXPECT_EQ(CheckValue(*dialog.chkBOKF), 0);
    EXPECT_EQ(CheckValue(*dialog.chkBOKFS), 0);
    EXPECT_FALSE(dialog.chkBOKFS->isEnabled());
}

TEST_F(DialogTest, PageContextOkHandsTheSettingsToTheActivePage)
{
    TestPage* p = page(ResultPageSpec());
    p->picBILD(12).setBackColor(LongFromColor(QColor(Qt::yellow)));   // not the first area
    p->Form_Click();
    frmKONTEXT& dialog = frmKONTEXT::instance(host);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.cdlFARBEN[0].Color, p->BackColor());
    EXPECT_EQ(dialog.cdlFARBEN[1].Color, p->picBILD(11).BackColor());
    // A colour chosen for the areas; the header unticked takes the numbering with it.
    const QColor green(0, 128, 0);
    project.dialogs().colorAnswers = {green};
    dialog.cmdFARBEN[1]->click();
    ASSERT_EQ(project.dialogs().shown.size(), 1u);
    EXPECT_EQ(project.dialogs().shown[0].box.title, QStringLiteral("Pictureboxfarben"));
    dialog.chkBOKF->click();
    p->drawn.clear();
    const int32_t page = p->BackColor();
    dialog.cmdOK->click();
    EXPECT_FALSE(p->BOKF);
    EXPECT_FALSE(p->BOKFS);
    EXPECT_EQ(p->BackColor(), page);
    for (int nr : {11, 12, 18})
        EXPECT_EQ(p->picBILD(int16_t(nr)).BackColor(), LongFromColor(green)) << nr;
    EXPECT_EQ(p->drawn, (std::vector<TestPage::Call>{{11, 0, 0, 0}, {12, 0, 0, 0}, {18, 0, 0, 0}}));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(MousePointer(), 0);
}

TEST_F(DialogTest, PageContextCancelAndOkWithoutAPage)
{
    TestPage* p = page(ResultPageSpec());
    p->Form_Click();
    frmKONTEXT::instance(host).chkBOKF->click();
    p->drawn.clear();
    frmKONTEXT::instance(host).cmdABBRECHEN->click();
    EXPECT_TRUE(p->drawn.empty());
    EXPECT_TRUE(p->BOKF);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // Esc unloads it as well.
    p->Form_Click();
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(frmKONTEXT::instance(host).chkBOKF, &esc);
    EXPECT_FALSE(frmKONTEXT::instance(host).isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // The pages closed while the dialog stayed open: OK closes it and calls nothing.
    p->Form_Click();
    frmKONTEXT& dialog = frmKONTEXT::instance(host);
    delete p->parentWidget();
    auto* start = new QWidget;
    start->setObjectName(QStringLiteral("mdiAUTOSTART"));
    host.load(start);
    dialog.cmdOK->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(MousePointer(), 0);
}

// ---------------------------------------------------------------- diagram context dialog

class DiagramDialogTest : public DialogTest {
protected:
    QStringList row()
    {
        QStringList values;
        Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM G0 WHERE ID = 7 AND IDOBJEKT = 11"), project.cnnX());
        for (; !rs.Eof(); rs.MoveNext())
            for (int i = 0; i < rs.FieldCount(); ++i)
                values << (rs.Fields(i).Value().isNull() ? QStringLiteral("Null") : CStr(rs.Fields(i).Value()));
        rs.Close();
        return values;
    }
    float column(const char* name)
    {
        return CSng(project.scalar(QStringLiteral("SELECT %1 FROM G0 WHERE ID = 7 AND IDOBJEKT = 11")
                                       .arg(QLatin1String(name))));
    }
    void storeRow(const QString& values)
    {
        project.exec(QStringLiteral("INSERT INTO G0 (ID, IDOBJEKT, OX, OY, XMIN, XMAX, YMIN, YMAX, MX, MY, MSP) "
                                    "VALUES (7, 11, 1, -1, %1)").arg(values));
    }
    static void select(QComboBox& list, const char* entry)
    {
        SetListIndex(list, int(list.findText(QString::fromUtf8(entry))));
    }
};

TEST_F(DiagramDialogTest, ListsOfBoundsAndRanges)
{
    TestPage* p = page(InputPageSpec());
    frmKONTEXT11 dialog(host, *p);
    EXPECT_EQ(ListCount(*dialog.cboXMIN), 65);
    EXPECT_EQ(ListCount(*dialog.cboYMIN), 65);
    EXPECT_EQ(ListCount(*dialog.cboXDIFF), 42);
    EXPECT_EQ(ListCount(*dialog.cboYDIFF), 42);
    for (const char* absent : {"7", "29"})
        EXPECT_EQ(dialog.cboXDIFF->findText(QLatin1String(absent)), -1);
    struct Case { QComboBox* list; const char* entry; int index; };
    for (const Case c : {Case{dialog.cboXMIN, "-100", 0}, Case{dialog.cboXMIN, "-10", 18}, Case{dialog.cboXMIN, "0", 28},
                         Case{dialog.cboXMIN, "20", 48}, Case{dialog.cboYMIN, "100", 64},
                         Case{dialog.cboXDIFF, "25", 23}, Case{dialog.cboXDIFF, "40", 29},
                         Case{dialog.cboYDIFF, "200", 41}})
        EXPECT_EQ(List(*c.list, c.index), QLatin1String(c.entry));
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Kontextmenü Diagramm"));
    QFont bold = QApplication::font();   // wide enough for its title in a title bar
    bold.setBold(true);
    EXPECT_GE(dialog.width(), QFontMetrics(bold).horizontalAdvance(dialog.windowTitle()) + 100);
    EXPECT_EQ(dialog.lblDEX->text(), QString::fromUtf8("Δ"));
    EXPECT_FALSE(dialog.cboXMIN->isEditable());
}

TEST_F(DiagramDialogTest, PresetFromTheStoredRow)
{
    storeRow(QStringLiteral("-10, 30, 0, 25, 0.2, 0.2, 5"));
    const auto [input, result] = bothPages();
    frmKONTEXT11 dialog(host, *result);
    EXPECT_TRUE(dialog.BOSEITE1);
    EXPECT_FALSE(dialog.fraMSP->isHidden());
    EXPECT_EQ(ListIndex(*dialog.cboXDIFF), 29);   // "40"
    EXPECT_EQ(ListIndex(*dialog.cboXMIN), 18);    // "-10"
    EXPECT_EQ(ListIndex(*dialog.cboYDIFF), 23);   // "25"
    EXPECT_EQ(ListIndex(*dialog.cboYMIN), 28);    // "0"
    EXPECT_EQ(dialog.txtMSP->text(), QStringLiteral("50"));
    EXPECT_EQ(dialog.parentWidget(), &host);
    dialog.show();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(dialog.pos(), QPoint(qRound(0.6 * screen.width()), qRound(0.1 * screen.height())));
}

TEST_F(DiagramDialogTest, OkWritesTheRowAndMarksThePageThatOpenedIt)
{
    storeRow(QStringLiteral("-10, 30, 0, 25, 0.2, 0.2, 5"));
    const auto [input, result] = bothPages();
    // Opened from the input page while the result page is loaded: the scale is shown,
    // and the input page is the one marked.
    frmKONTEXT11 dialog(host, *input);
    select(*dialog.cboXMIN, "-19");
    select(*dialog.cboXDIFF, "28");
    select(*dialog.cboYMIN, "2");
    select(*dialog.cboYDIFF, "12");
    dialog.txtMSP->setText(QStringLiteral("75"));
    dialog.cmdOK->click();
    EXPECT_EQ(column("MX"), 0.0f);
    EXPECT_EQ(column("MY"), 0.0f);
    EXPECT_EQ(column("XMIN"), -19.0f);
    EXPECT_EQ(column("XMAX"), 9.0f);
    EXPECT_EQ(column("YMIN"), 2.0f);
    EXPECT_EQ(column("YMAX"), 14.0f);
    EXPECT_EQ(column("MSP"), 7.5f);
    EXPECT_EQ(input->Tag, QStringLiteral("OK"));
    EXPECT_EQ(result->Tag, QString());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.DATENG0, nullptr);   // the view is released with the dialog's unload
}

TEST_F(DiagramDialogTest, OnlyTheInputPageLoaded)
{
    storeRow(QStringLiteral("-10, 30, 0, 25, 0.2, 0.2, 0.5"));
    TestPage* input = page(InputPageSpec());
    frmKONTEXT11 dialog(host, *input);
    EXPECT_FALSE(dialog.BOSEITE1);
    EXPECT_TRUE(dialog.fraMSP->isHidden());
    EXPECT_EQ(dialog.txtMSP->text(), QString());
    dialog.txtMSP->setText(QStringLiteral("75"));
    dialog.cmdOK->click();
    EXPECT_EQ(column("MSP"), 0.5f);   // neither read nor written
    EXPECT_EQ(column("XMAX"), 30.0f);
    EXPECT_EQ(input->Tag, QStringLiteral("OK"));
}

TEST_F(DiagramDialogTest, PressureScaleText)
{
    struct Case { QLocale locale; const char* stored; const char* shown; const char* typed; float saved; };
    const Case cases[] = {
        {German(), "0.5", "5", "7,5", 0.75f},
        {German(), "0.75", "7,5", " 12 ", 1.2f},
        {German(), "0", "0", "0", 0.0f},   // as shown: kept, though no scale one may type
        {English(), "0.25", "2.5", "12.5", 1.25f},
    };
    for (const Case& c : cases) {
        const LocaleScope scope(c.locale);
        project.exec(QStringLiteral("DELETE FROM G0"));
        storeRow(QStringLiteral("0, 10, 0, 10, 1, 1, ") + QLatin1String(c.stored));
        const auto [input, result] = bothPages();
        frmKONTEXT11 dialog(host, *result);
        EXPECT_EQ(dialog.txtMSP->text(), QString::fromUtf8(c.shown));
        dialog.txtMSP->setText(QString::fromUtf8(c.typed));
        dialog.cmdOK->click();
        EXPECT_EQ(column("MSP"), c.saved) << c.typed;
        delete input->parentWidget();
        delete result->parentWidget();
    }
}

// Whatever is typed into the scale and confirmed with Enter: a scale that is no positive
// number a Single holds is refused with the value check's box, the dialog stays open at
// the field, and nothing of it is written, the axes neither. (From the input-graphic
// page of the running program: the application's tests.)
TEST_F(DiagramDialogTest, ScaleRefusesWhatIsNoScaleAndWritesNothing)
{
    storeRow(QStringLiteral("-10, 30, 0, 25, 0.2, 0.2, 5"));
    const QStringList before = row();
    TestPage* result = bothPages().second;
    const QString noNumber = QString::fromUtf8("Eingegeber Wert ist kein gültiges Zahlenformat!");
    const QString outside = QString::fromUtf8("Zahlenwert außerhalb der vorgegeben Schranken:\r\n"
                                              "Minimum: 0,01, Maximum: 3,402823E+37");
    struct Case {
        QString typed, box;
    };
    const Case cases[] = {
        {QStringLiteral("1e40"), noNumber},
        {QStringLiteral("-1e40"), noNumber},
        {QStringLiteral("1E-50"), noNumber},   // a Single would hold it as 0
        {QStringLiteral("abc"), noNumber},
        {QStringLiteral("1.5"), noNumber},     // under a German locale no number
        {QStringLiteral("0"), outside},
        {QStringLiteral("-1"), outside},
        {QStringLiteral("0,001"), outside},    // would show and stand as 0
        {QString(), noNumber},
        {QStringLiteral("   "), noNumber},
        {QString(10000, QLatin1Char('9')), noNumber},
        {QString(QChar(0)), noNumber},        // the field takes no NUL: it stays empty
        {QStringLiteral("'; DROP TABLE E1; --"), noNumber},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.left(20).toStdString());
        project.dialogs().shown.clear();
        project.dialogs().msgAnswers = {MsgResult::OK};
        frmKONTEXT11 dialog(host, *result);
        dialog.show();
        select(*dialog.cboXMIN, "-19");
        QTest::keyClick(dialog.txtMSP, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(dialog.txtMSP, Qt::Key_Delete);
        TypeKeys(dialog.txtMSP, c.typed);
        QTest::keyClick(dialog.txtMSP, Qt::Key_Return);
        const std::vector<MsgBoxRequest> boxes = project.dialogs().boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, c.box);
        EXPECT_EQ(boxes[0].title, QString::fromUtf8("Spannungsmaßstab"));
        EXPECT_EQ(boxes[0].buttons, MsgButtons::OK);
        EXPECT_EQ(boxes[0].icon, MsgIcon::Exclamation);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.focusWidget(), dialog.txtMSP);
        EXPECT_EQ(row(), before);
        EXPECT_EQ(result->Tag, QString());
    }
    EXPECT_EQ(project.scalar(QStringLiteral("SELECT COUNT(*) FROM E1")), Variant(int32_t(1)));
}

TEST_F(DiagramDialogTest, CancelWritesNothing)
{
    storeRow(QStringLiteral("-10, 30, 0, 25, 0.2, 0.2, 5"));
    const QStringList before = row();
    const auto [input, result] = bothPages();
    for (int way = 0; way < 3; ++way) {
        frmKONTEXT11 dialog(host, *result);
        select(*dialog.cboXMIN, "-19");
        dialog.txtMSP->setText(QStringLiteral("75"));
        dialog.show();
        if (way == 0) {
            dialog.cmdABBRECHEN->click();
        } else if (way == 1) {
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(dialog.cboXMIN, &esc);
        } else {
            dialog.close();
        }
        EXPECT_FALSE(dialog.isVisible()) << way;
        EXPECT_EQ(dialog.DATENG0, nullptr) << way;
    }
    EXPECT_EQ(row(), before);
    EXPECT_EQ(result->Tag, QString());
    EXPECT_EQ(input->Tag, QString());
}

TEST_F(DiagramDialogTest, ValuesThatAreNoEntriesAreKept)
{
    // A range of 12.5 is no entry: its list stays without a selection, and OK keeps it.
    storeRow(QStringLiteral("-10, 2.5, 1.5, 21.5, 0.2, 0.2, 5"));
    TestPage* input = page(InputPageSpec());
    {
        frmKONTEXT11 dialog(host, *input);
        EXPECT_EQ(ListIndex(*dialog.cboXDIFF), -1);
        EXPECT_EQ(ListIndex(*dialog.cboXMIN), 18);
        EXPECT_EQ(ListIndex(*dialog.cboYMIN), -1);   // 1.5
        EXPECT_EQ(ListIndex(*dialog.cboYDIFF), 18);  // 20
        select(*dialog.cboXMIN, "-9");
        dialog.cmdOK->click();
    }
    EXPECT_EQ(column("XMIN"), -9.0f);
    EXPECT_EQ(column("XMAX"), 3.5f);
    EXPECT_EQ(column("YMIN"), 1.5f);
    EXPECT_EQ(column("YMAX"), 21.5f);

    // Without a row: "0" preset as lower bound, no range; OK makes the row.
    project.exec(QStringLiteral("DELETE FROM G0"));
    frmKONTEXT11 dialog(host, *input);
    EXPECT_EQ(ComboText(*dialog.cboXMIN), QStringLiteral("0"));
    EXPECT_EQ(ComboText(*dialog.cboYMIN), QStringLiteral("0"));
    EXPECT_EQ(ListIndex(*dialog.cboXDIFF), -1);
    EXPECT_EQ(ListIndex(*dialog.cboYDIFF), -1);
    select(*dialog.cboXDIFF, "40");
    dialog.cmdOK->click();
    EXPECT_EQ(project.scalar(QStringLiteral("SELECT COUNT(*) FROM G0 WHERE ID = 7 AND IDOBJEKT = 11")),
              Variant(int32_t(1)));
    EXPECT_EQ(column("XMAX"), 40.0f);
    EXPECT_EQ(column("YMAX"), 0.0f);
}

} // namespace
