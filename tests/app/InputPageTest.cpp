// The input-graphic page in the main window on the demo suite: the command that shows
// it, the page keys between it and the result page, both pages printed into one file,
// and the screenshot and the document of it.
#include "AppFixture.h"
#include "pages/common/PageList.h"
#include "pages/input/mdiESEITE1.h"
#include "pages/result/mdiSEITE1.h"
#include "platform/Documents.h"
#include "platform/PrinterSurface.h"
#include "support/ImageProbe.h"
#include "support/PageFiles.h"
#include <QApplication>
#include <QImageReader>
#include <QKeyEvent>
#include <QMenu>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

class InputPage : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
        main->SetPagePause(0);
        main->resize(1000, 720);
        main->show();
        SetDocumentOpenerHook([this](const QString& path) {
            opened << path;
            return true;
        });
    }
    void TearDown() override
    {
        SetDocumentOpenerHook(nullptr);
        AppFixture::TearDown();
    }
    void Key(QWidget* page, int key)
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(page, &event);
        QCoreApplication::processEvents();   // the page's keys run after their event
    }

    QStringList opened;
    QTemporaryDir files;
};

} // namespace

TEST_F(InputPage, EingabegrafikShowsTheInputPage)
{
    std::vector<int> bar;
    QObject::connect(main->AUTOSTART().pgbBERECHNEN, &QProgressBar::valueChanged, [&](int v) { bar.push_back(v); });
    Evaluate("mnuEINGABEGRAFIK");
    auto* page = OpenPage<mdiESEITE1>();
    ASSERT_NE(page, nullptr);
    EXPECT_TRUE(page->complete());
    EXPECT_EQ(main->ActiveForm(), page);
    EXPECT_TRUE(page->parentWidget()->isMaximized());
    // The page's bar from 5 to 97, then the command's 100 and back to 0.
    ASSERT_GE(bar.size(), 4u);
    EXPECT_EQ(bar.front(), 5);
    EXPECT_EQ(std::vector<int>(bar.end() - 3, bar.end()), (std::vector<int>{97, 100, 0}));
    EXPECT_TRUE(main->AUTOSTART().pgbBERECHNEN->isHidden());
    for (int n : {10, 11, 12, 13, 15})
        EXPECT_TRUE(main->stbMAIN->Panels(n).Visible()) << n;
    EXPECT_FALSE(main->stbMAIN->Panels(14).Visible());
    EXPECT_FALSE(main->Menu(QStringLiteral("mnuDATEI"))->isEnabled());
    EXPECT_TRUE(main->isEnabled());
    // The record's results stay new; the page wrote its layout without a pressure scale.
    EXPECT_EQ(ScalarOf(main->cnnX(), QStringLiteral("SELECT BONEU FROM A1 WHERE ID = 1")), Variant(true));
    EXPECT_FLOAT_EQ(CSng(ScalarOf(main->cnnX(), QStringLiteral("SELECT XMIN FROM G0 WHERE ID = 1 AND IDOBJEKT = 11"))),
                    -3.0f);
    EXPECT_TRUE(ScalarOf(main->cnnX(), QStringLiteral("SELECT MSP FROM G0 WHERE ID = 1 AND IDOBJEKT = 11")).isNull());
    // Chosen again, the open page is shown as it is.
    Evaluate("mnuEINGABEGRAFIK");
    EXPECT_EQ(OpenPage<mdiESEITE1>(), page);
    EXPECT_EQ(PageList(*main).size(), 1);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(InputPage, BothPagesOfTheRecordSwitchAndPrintIntoOneFile)
{
    // The result page loaded first: the pages still count the input-graphic page first.
    Evaluate("mnuNEUBERECHNEN");
    Evaluate("mnuEINGABEGRAFIK");
    auto* input = OpenPage<mdiESEITE1>();
    auto* result = OpenPage<mdiSEITE1>();
    ASSERT_TRUE(input && result);
    QStringList order;
    for (QWidget* page : PageList(*main))
        order << page->objectName();
    EXPECT_EQ(order, (QStringList{QStringLiteral("mdiESEITE1"), QStringLiteral("mdiSEITE1")}));

    // Page Up and Page Down: the other page in front, this one hidden.
    EXPECT_EQ(main->ActiveForm(), input);
    Key(input, Qt::Key_PageDown);
    EXPECT_EQ(main->ActiveForm(), result);
    EXPECT_FALSE(input->parentWidget()->isVisible());
    Key(result, Qt::Key_PageUp);
    EXPECT_EQ(main->ActiveForm(), input);
    EXPECT_FALSE(result->parentWidget()->isVisible());

    // Both pages printed, the input-graphic page first: one file of two A4 landscape sheets.
    const QString pdf = files.filePath(QStringLiteral("seiten.pdf"));
    main->Printer().printer().setOutputFormat(QPrinter::PdfFormat);
    main->Printer().printer().setOutputFileName(pdf);
    main->stbMAIN_PanelClick(11);   // the dialog's choice left at all pages
    const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n")))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+84[12][.\\d]* x 595[.\\d]* pts \\(A4\\)"))))
        << info.toStdString();
    const QString first = PdfText(pdf, 1), second = PdfText(pdf, 2);
    for (const char* s : {"Seite 1/2", "Datensatz Beispiel", "Schichten", "Bauwerk", "Stromlinien", "Tremolspiegelhöhe"})
        EXPECT_TRUE(first.contains(QString::fromUtf8(s))) << s;
    for (const char* s : {"Seite 2/2", "Datensatz Beispiel", "Vertikale Schnitte", "Sohlfläche"})
        EXPECT_TRUE(second.contains(QString::fromUtf8(s))) << s;
    EXPECT_FALSE(first.contains(QStringLiteral("Seite 2/2")));
    // On each sheet the section stands in its box, 3 mm left and 5 mm below its place.
    const std::vector<QImage> sheets = PdfSheets(pdf, files.filePath(QStringLiteral("blatt")), 50);
    ASSERT_EQ(sheets.size(), 2u);
    const auto px = [](double mm) { return int(std::lround(mm * 50 / 25.4)); };
    for (const QImage& sheet : sheets) {
        EXPECT_FALSE(inkBox(sheet, QRect(px(30), px(45), px(80), px(90))).isNull());
        EXPECT_TRUE(inkBox(sheet, QRect(px(264), px(35), px(16), px(125))).isNull());
    }
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(InputPage, ScreenshotAndDocumentOfTheInputPage)
{
    Evaluate("mnuEINGABEGRAFIK");
    auto* page = OpenPage<mdiESEITE1>();
    ASSERT_NE(page, nullptr);

    // The screenshot: the main window with the page, as a bitmap in the project's folder.
    dialogs->inputAnswers = {QStringLiteral("Eingabe")};
    main->stbMAIN_PanelClick(12);
    const QString file = main->PROJEKTSPFAD() + QStringLiteral("/TE0000.00/JPG/Eingabe.bmp");
    QImageReader reader(file);
    EXPECT_EQ(reader.format(), QByteArray("bmp"));
    const QImage shot = reader.read();
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.size(), main->size());
    const QRect diagram(page->picBILD(11).mapTo(main.get(), QPoint(0, 0)), page->picBILD(11).size());
    EXPECT_FALSE(inkBox(shot, diagram).isNull());

    // The document: every area of the page in control order, its name and its picture.
    main->stbMAIN_PanelClick(13);
    ASSERT_EQ(opened.size(), 1);
    const std::vector<Paragraph> text = OdfParagraphs(OdfMember(opened[0], QStringLiteral("content.xml")));
    ASSERT_EQ(text.size(), 19u);   // nine areas and the closing paragraph
    QStringList names;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        names << text[i].text;
        const PictureBox& pic = page->picBILD(int16_t(text[i].text.mid(7).toInt()));
        EXPECT_NEAR(text[i + 1].widthMm, pic.Width() / TwipsPerMm, 0.3) << text[i].text.toStdString();
        EXPECT_NEAR(text[i + 1].heightMm, pic.Height() / TwipsPerMm, 0.3) << text[i].text.toStdString();
        const QImage picture = QImage::fromData(OdfMember(opened[0], text[i + 1].picture));
        ASSERT_FALSE(picture.isNull());
        EXPECT_FALSE(inkBox(picture, picture.rect()).isNull()) << text[i].text.toStdString();
    }
    EXPECT_EQ(names, (QStringList{"picBILD11", "picBILD19", "picBILD18", "picBILD12", "picBILD13", "picBILD14",
                                  "picBILD15", "picBILD16", "picBILD17"}));
    QFile::remove(opened[0]);
    EXPECT_TRUE(Boxes().empty());
}
