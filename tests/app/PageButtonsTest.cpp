// The status-bar buttons of the page state: print with the page range, screenshot,
// the page into a word-processor document, closing the pages, the keys of the pages
// that reach them, and the pressed look.
#include "AppFixture.h"
#include "support/OtherUser.h"
#include "support/PageFiles.h"
#include "pages/common/PageForm.h"
#include "pages/common/PageList.h"
#include "pages/common/frmANZEIGEN.h"
#include "platform/Colors.h"
#include "platform/Documents.h"
#include "platform/PrinterSurface.h"
#include "platform/Yield.h"
#include <QApplication>
#include <QImageReader>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QMouseEvent>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include "support/ImageProbe.h"

namespace {

// A page on the shared page form with three areas, each a box filled in the page's
// colour (green on the input-graphic page, blue on the result page) and its name.
// Printing is logged by page name.
class ButtonPage : public PageForm {
public:
    ButtonPage(PageHost& host, const QString& name, QStringList& printed)
        : PageForm(host, specOf(name)), printed_(printed), colour_(name.contains(QLatin1String("ESEITE")) ? 2 : 1)
    {
        addArea(11, QRectF(15, 30, 120, 115), QPointF(-3, 5), false, true);
        addArea(12, QRectF(135, 43, 60, 39), QPointF(-3, 5), true, false);
        addArea(18, QRectF(135, 30, 120, 13), QPointF(-3, 5), false, false);
        BOKF = false;
        for (int16_t nr : {11, 12, 18})
            BILD(nr, 0, 0, 0);
    }

    void BILD(int16_t nr, int16_t OBJ, float XDL, float YDO) override
    {
        if (OBJ == 1 && nr == failOnPaper)
            throw VbError(VbErr::Subscript);   // an error the area does not report itself
        Guarded(host_.context().dlg(), RoutineBox(QStringLiteral("Bild")), [&](Guard& g) {
            g.step([&] {
                const Target t = target(nr, OBJ, XDL, YDO);
                const QRectF mm = areaMm(nr);
                t.EOBJEKT->setScaleMode(ScaleModes::Millimetres);
                t.EOBJEKT->Line(LineFlags::FirstPoint | LineFlags::FilledBox | LineFlags::Colour, t.EXDL + 2,
                                t.EYDO + 6, t.EXDL + mm.width() - 2, t.EYDO + mm.height() - 2,
                                LongFromColor(QBColor(colour_)));
                t.EOBJEKT->setCurrentX(t.EXDL + 2);
                t.EOBJEKT->setCurrentY(t.EYDO + 1);
                t.EOBJEKT->Print(QStringLiteral("picBILD%1").arg(nr));
            });
        });
    }
    void DRUCKEN() override
    {
        printed_ << objectName();
        PageForm::DRUCKEN();
    }

    int failOnPaper = 0;   // the area that fails on the printer

private:
    static Spec specOf(const QString& name)
    {
        if (name.contains(QLatin1String("ESEITE")))
            return {name, QStringLiteral("mdiSEITE1"), 1, QStringLiteral("VB-Error: "),
                    QStringLiteral("Drucken von Eingabeseite 1"), false};
        return {name, QStringLiteral("mdiESEITE1"), 2, QStringLiteral("VB-Fehler: "),
                QStringLiteral("Drucken von Seite 1"), true};
    }

    QStringList& printed_;
    int colour_;
};

class PageButtons : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
        main->resize(1000, 720);
        main->show();
        SetDocumentOpenerHook([this](const QString& path) {
            opened << path;
            return opens;
        });
    }
    void TearDown() override
    {
        SetDocumentOpenerHook(nullptr);
        SetDoEventsHook(nullptr);
        if (main && !main->unloaded())
            main->mnuBEENDEN_Click();
        AppFixture::TearDown();
    }

    // A page loaded into the main window, shown maximised and active.
    ButtonPage* Load(const QString& name)
    {
        auto* page = new ButtonPage(*main, name, printed);
        main->mdiArea->addSubWindow(page);
        ShowMaximized(page);
        return page;
    }
    StatusPanel& Panel(int n) { return main->stbMAIN->Panels(n); }
    // The page state: the page buttons shown, the file menu disabled.
    void PageState()
    {
        for (int n : {10, 11, 12, 13, 15})
            Panel(n).SetVisible(true);
        main->Menu(QStringLiteral("mnuDATEI"))->setEnabled(false);
        main->Menu(QStringLiteral("mnuEXTRAS"))->setEnabled(false);
        QCoreApplication::processEvents();
    }
    void Click(int n) { main->stbMAIN_PanelClick(n); }
    // A mouse event on a panel, as the user makes it.
    void Mouse(QEvent::Type type, StatusPanel& panel)
    {
        const QPointF at(panel.width() / 2.0, panel.height() / 2.0);
        QMouseEvent event(type, at, panel.mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&panel, &event);
    }
    void Key(QWidget* page, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(page, &event);
        QCoreApplication::processEvents();   // the page's keys run after their event
    }
    // The state "Schließen" leaves: only the start window, no page button, the file and
    // tools menus on again, no box.
    void ExpectPagesClosed()
    {
        EXPECT_EQ(MdiChildren(), QStringList{QStringLiteral("mdiAUTOSTART")});
        for (int n = 10; n <= 15; ++n)
            EXPECT_FALSE(Panel(n).Visible()) << n;
        EXPECT_TRUE(main->Menu(QStringLiteral("mnuDATEI"))->isEnabled());
        EXPECT_TRUE(main->Menu(QStringLiteral("mnuEXTRAS"))->isEnabled());
        EXPECT_TRUE(PageList(*main).isEmpty());
        EXPECT_TRUE(Boxes().empty());
    }
    QStringList MdiChildren() const
    {
        QStringList names;
        for (QMdiSubWindow* sub : main->mdiArea->subWindowList(QMdiArea::CreationOrder))
            names << sub->widget()->objectName();
        return names;
    }
    // Prints into a PDF file, as the print dialog's file printer does.
    QString PrintToFile()
    {
        const QString pdf = files.filePath(QStringLiteral("seiten.pdf"));
        QFile::remove(pdf);
        main->Printer().printer().setOutputFormat(QPrinter::PdfFormat);
        main->Printer().printer().setOutputFileName(pdf);
        return pdf;
    }
    // The sheets of a PDF file rendered at 20 dots per inch, in order.
    std::vector<QImage> Sheets(const QString& pdf) { return PdfSheets(pdf, files.filePath(QStringLiteral("blatt")), 20); }
    // The colour printed at a place of a sheet (mm), at 20 dots per inch.
    static QColor At(const QImage& sheet, double xMm, double yMm)
    {
        return sheet.pixelColor(int(xMm * 20 / 25.4), int(yMm * 20 / 25.4));
    }

    QStringList printed;
    QStringList opened;
    bool opens = true;
    QTemporaryDir files;
};

const QColor Green(0, 128, 0), Blue(0, 0, 128);

} // namespace

TEST_F(PageButtons, PagesAreListedInPageOrderAndTheActiveOneIsThePreset)
{
    Load(QStringLiteral("mdiSEITE1"));
    ButtonPage* input = Load(QStringLiteral("mdiESEITE1"));
    QStringList names;
    for (QWidget* page : PageList(*main))
        names << page->objectName();
    EXPECT_EQ(names, (QStringList{QStringLiteral("mdiESEITE1"), QStringLiteral("mdiSEITE1")}));
    EXPECT_EQ(ActivePageNumber(PageList(*main), input), 1);
    EXPECT_EQ(ActivePageNumber(PageList(*main), &main->AUTOSTART()), 0);

    ShowMaximized(PageList(*main).at(1));   // the result page in front
    dialogs->printAnswers = {std::nullopt};
    Click(11);
    ASSERT_EQ(dialogs->shown.size(), 1u);
    const PrintRangeRequest& asked = dialogs->shown[0].print;
    EXPECT_EQ(asked.printer, &main->Printer().printer());
    EXPECT_EQ(asked.Min, 1);
    EXPECT_EQ(asked.Max, 2);
    EXPECT_EQ(asked.FromPage, 2);
    EXPECT_EQ(asked.ToPage, 2);
    // A file is proposed in the project's folder, named after the project and the record.
    EXPECT_EQ(asked.fileName, suite->projectsFolder() + QStringLiteral("/TE0000.00/TE0000.00_") + Panel(6).text()
                                  + QStringLiteral(".pdf"));
    EXPECT_NE(Panel(6).text(), QStringLiteral("-"));
    // With the start window in front the range is preset to the first page.
    ShowMaximized(&main->AUTOSTART());
    dialogs->printAnswers = {std::nullopt};
    Click(11);
    ASSERT_EQ(dialogs->shown.size(), 2u);
    EXPECT_EQ(dialogs->shown[1].print.FromPage, 1);
    EXPECT_EQ(dialogs->shown[1].print.ToPage, 1);
    EXPECT_TRUE(printed.isEmpty());
}

TEST_F(PageButtons, PrintsTheChosenRangeIntoOneDocumentOfSheets)
{
    Load(QStringLiteral("mdiSEITE1"));
    Load(QStringLiteral("mdiESEITE1"));
    ShowMaximized(PageList(*main).at(1));
    const auto range = [](bool all, bool collate, int from, int to) {
        PrintRangeRequest r;
        r.Min = 1, r.Max = 2, r.FromPage = from, r.ToPage = to, r.allPages = all, r.collate = collate;
        return std::optional<PrintRangeRequest>(r);
    };
    struct Case {
        const char* what;
        std::optional<PrintRangeRequest> answer;
        QStringList pages;
    };
    const QString input = QStringLiteral("mdiESEITE1"), result = QStringLiteral("mdiSEITE1");
    const Case cases[] = {
        {"all pages kept", range(true, true, 2, 2), {input, result}},
        {"range 2 to 2", range(false, true, 2, 2), {result}},
        {"range 1 to 2", range(false, true, 1, 2), {input, result}},
        {"collation off: the preset page", range(true, false, 2, 2), {result}},
        {"cancelled", std::nullopt, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        printed.clear();
        const QString pdf = PrintToFile();
        dialogs->printAnswers = {c.answer};
        SetMousePointer(11);
        Click(11);
        EXPECT_EQ(printed, c.pages);
        EXPECT_TRUE(Boxes().empty());
        EXPECT_EQ(MousePointer(), 0);
        EXPECT_EQ(Panel(11).Bevel(), PanelBevel::Raised);
        if (c.pages.isEmpty()) {
            EXPECT_FALSE(QFile::exists(pdf));
            continue;
        }
        // One file, a landscape A4 sheet per page, in page order.
        const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
        EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(c.pages.size()))))
            << info.toStdString();
        EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+84[12][.\\d]* x 595[.\\d]* pts \\(A4\\)"))))
            << info.toStdString();
        const std::vector<QImage> sheets = Sheets(pdf);
        ASSERT_EQ(sheets.size(), std::size_t(c.pages.size()));
        for (std::size_t i = 0; i < sheets.size(); ++i) {
            const QColor colour = c.pages[int(i)] == input ? Green : Blue;
            // Area 11 printed 3 mm left and 5 mm lower: its box from (14, 41) mm.
            EXPECT_EQ(At(sheets[i], 70, 100), colour);
            EXPECT_EQ(At(sheets[i], 13, 100), QColor(Qt::white));
            EXPECT_EQ(At(sheets[i], 160, 80), colour);   // area 12
        }
    }
    // The pages are on screen again after printing.
    for (QWidget* page : PageList(*main))
        EXPECT_EQ(static_cast<ButtonPage*>(page)->picBILD(11).Image().pixelColor(100, 100),
                  page->objectName() == input ? Green : Blue);
}

// A PDF file that cannot be written is the print command's error: the file the name
// had stays as it was, and nothing half-written is left in the folder.
TEST_F(PageButtons, PrintIntoAFileThatCannotBeWrittenSaysSoAndLeavesNoBrokenFile)
{
    Load(QStringLiteral("mdiSEITE1"));
    Load(QStringLiteral("mdiESEITE1"));
    const QString pdf = PrintToFile();
    QFile earlier(pdf);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("%PDF-1.4 an earlier print\n");
    earlier.close();
    const QString missing = files.filePath(QStringLiteral("fehlt/seiten.pdf"));
    const struct {
        const char* name;
        QString file;
        rlim_t limit;
        const char* cause;
    } cases[] = {
        {"disk full", pdf, 4096, "Auf dem Datenträger ist kein Platz mehr frei."},
        {"no such folder", missing, RLIM_INFINITY, "Die Datei oder ihr Ordner ist nicht vorhanden."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        main->Printer().printer().setOutputFileName(c.file);
        dialogs->shown.clear();
        dialogs->msgAnswers = {MsgResult::OK};
        {
            const FileSizeLimit limit(c.limit);
            Click(11);
        }
        const auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].title, QStringLiteral("Drucken"));
        EXPECT_EQ(boxes[0].text, QStringLiteral("VB-Error: 482\nDruckerfehler: Die Datei ") + c.file
                                     + QStringLiteral(" kann nicht geschrieben werden. ") + QString::fromUtf8(c.cause));
        EXPECT_EQ(BytesOf(pdf), QByteArray("%PDF-1.4 an earlier print\n"));
        EXPECT_EQ(QDir(files.path()).entryList(QDir::Files), QStringList{QStringLiteral("seiten.pdf")});
        EXPECT_EQ(MousePointer(), 0);
    }
    // With room again the same print replaces the file by the whole document.
    main->Printer().printer().setOutputFileName(pdf);
    dialogs->shown.clear();
    Click(11);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(Sheets(pdf).size(), 2u);
}

// A print into a PDF file that is a link (to another disk, to a share) replaces the file
// the link names and leaves the link. What prints cut short left beside that file goes
// once it is an hour old; a younger one may be another run's print in progress.
TEST_F(PageButtons, APrintIntoALinkReplacesTheFileItNamesAndOldPartialsGo)
{
    Load(QStringLiteral("mdiSEITE1"));
    Load(QStringLiteral("mdiESEITE1"));
    const QString pdf = PrintToFile();
    const QString disk = files.filePath(QStringLiteral("platte"));
    ASSERT_TRUE(QDir().mkpath(disk));
    const QString file = disk + QStringLiteral("/seiten.pdf");
    ASSERT_TRUE(QFile::link(file, pdf));
    const auto leave = [&](const QString& name, int ageSeconds) {
        QFile f(disk + QLatin1Char('/') + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime));
    };
    leave(QStringLiteral("seiten.pdf.partial-4711-0badc0de"), 3 * 3600);
    leave(QStringLiteral("seiten.pdf.partial-4712-0badc0de"), 60);

    Click(11);

    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(QFileInfo(pdf).isSymLink());
    EXPECT_EQ(Sheets(file).size(), 2u);
    EXPECT_EQ(QDir(disk).entryList(QDir::Files),
              (QStringList{QStringLiteral("seiten.pdf"), QStringLiteral("seiten.pdf.partial-4712-0badc0de")}));
    EXPECT_EQ(QDir(files.path()).entryList(QDir::Files | QDir::System), QStringList{QStringLiteral("seiten.pdf")});
}

// A PDF file the user may not write is not replaced, though its folder would let a new
// file take its name: the print's box names it, directly or through a link.
TEST_F(PageButtons, APrintIntoAFileTheUserMayNotWriteIsRefused)
{
    REQUIRE_UNPRIVILEGED();
    Load(QStringLiteral("mdiSEITE1"));
    const QString pdf = PrintToFile();
    OpenToAll(files.path());
    QFile earlier(pdf);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("%PDF-1.4 an earlier print\n");
    earlier.close();
    ASSERT_TRUE(earlier.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    const QString link = files.filePath(QStringLiteral("verweis.pdf"));
    ASSERT_TRUE(QFile::link(pdf, link));
    for (const QString& target : {pdf, link}) {
        SCOPED_TRACE(target.toStdString());
        main->Printer().printer().setOutputFileName(target);
        dialogs->shown.clear();
        dialogs->msgAnswers = {MsgResult::OK};
        {
            const Unprivileged user;
            Click(11);
        }
        const auto boxes = Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, QStringLiteral("VB-Error: 482\nDruckerfehler: Die Datei ") + target
                                     + QStringLiteral(" kann nicht geschrieben werden. Der Zugriff wurde verweigert."));
        EXPECT_EQ(BytesOf(pdf), QByteArray("%PDF-1.4 an earlier print\n"));
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        EXPECT_EQ(QDir(files.path()).entryList(QDir::Files | QDir::System),
                  (QStringList{QStringLiteral("seiten.pdf"), QStringLiteral("verweis.pdf")}));
    }
}

TEST_F(PageButtons, ASheetCancelledInItsErrorBoxLeavesTheOthers)
{
    Load(QStringLiteral("mdiSEITE1"));
    ButtonPage* input = Load(QStringLiteral("mdiESEITE1"));
    input->failOnPaper = 12;
    const QString pdf = PrintToFile();
    dialogs->msgAnswers = {MsgResult::Cancel};
    Click(11);   // nothing queued: all pages kept
    // Cancel in the input page's box discards its sheet; the result page prints after.
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, QStringLiteral("Drucken von Eingabeseite 1"));
    EXPECT_TRUE(boxes[0].text.startsWith(QStringLiteral("VB-Error: 9\n")));
    EXPECT_EQ(printed, (QStringList{QStringLiteral("mdiESEITE1"), QStringLiteral("mdiSEITE1")}));
    const std::vector<QImage> sheets = Sheets(pdf);
    ASSERT_EQ(sheets.size(), 1u);
    EXPECT_EQ(At(sheets[0], 70, 100), Blue);
}

TEST_F(PageButtons, PrintingWithoutAPageEndsSilently)
{
    Click(11);
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_EQ(MousePointer(), 0);
}

TEST_F(PageButtons, ScreenshotIntoTheProjectsBitmapFolder)
{
    ButtonPage* page = Load(QStringLiteral("mdiESEITE1"));
    PageState();
    Panel(6).setText(QStringLiteral("Wand1"));
    const QString folder = main->PROJEKTSPFAD() + QStringLiteral("/TE0000.00/JPG");
    ASSERT_FALSE(QFileInfo::exists(folder));

    // Cancel (an empty answer) saves nothing, but the folder is there.
    dialogs->inputAnswers = {QString()};
    Click(12);
    ASSERT_EQ(dialogs->shown.size(), 1u);
    EXPECT_EQ(dialogs->shown[0].kind, QStringLiteral("InputBox"));
    EXPECT_EQ(dialogs->shown[0].box.title, QStringLiteral("KOPIE"));
    EXPECT_EQ(dialogs->shown[0].box.text,
              QStringLiteral("Bitte bestätigen oder ändern Sie den Dateinamen. Vorgabe: ") + folder
                  + QStringLiteral("/Wand1-1.bmp"));
    EXPECT_EQ(dialogs->shown[0].defaultText, QStringLiteral("Wand1-1"));
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_TRUE(QDir(folder).isEmpty());

    // A name with the ending gets it once more; the bitmap is the main window.
    dialogs->inputAnswers = {QStringLiteral("Bild.bmp")};
    Click(12);
    const QString file = folder + QStringLiteral("/Bild.bmp.bmp");
    QImageReader reader(file);
    EXPECT_EQ(reader.format(), QByteArray("bmp"));
    const QImage shot = reader.read();
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.size(), main->size());
    // The page's section diagram shows in it, in the page's colour.
    EXPECT_EQ(shot.pixelColor(page->picBILD(11).mapTo(main.get(), QPoint(100, 100))), Green);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("Bild.bmp.bmp")});
    EXPECT_TRUE(Boxes().empty());

    // A folder in the name that does not exist: the box, titled with the button's text.
    dialogs->inputAnswers = {QStringLiteral("fehlt/Bild")};
    dialogs->msgAnswers = {MsgResult::OK};
    Click(12);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].title, QStringLiteral("Kopie"));
    EXPECT_TRUE(Boxes()[0].text.startsWith(QStringLiteral("VB-Error: 76\n")));
    EXPECT_EQ(MousePointer(), 0);
}

TEST_F(PageButtons, ThePagesVisibleAreasGoIntoANewDocument)
{
    ButtonPage* page = Load(QStringLiteral("mdiSEITE1"));
    PageState();
    page->picBILD(12).hide();
    Click(13);
    ASSERT_EQ(opened.size(), 1);
    const QString odt = opened[0];
    EXPECT_TRUE(odt.startsWith(QDir::tempPath() + QStringLiteral("/TREMOL-mdiSEITE1-")));
    EXPECT_TRUE(odt.endsWith(QStringLiteral(".odt")));
    EXPECT_EQ(OdfMember(odt, QStringLiteral("mimetype")), QByteArray("application/vnd.oasis.opendocument.text"));
    // Each visible area in control order: its name, then its picture at its size.
    const std::vector<Paragraph> text = OdfParagraphs(OdfMember(odt, QStringLiteral("content.xml")));
    ASSERT_EQ(text.size(), 5u);   // two areas and the closing paragraph
    QStringList names;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        names << text[i].text;
        const int nr = text[i].text == QLatin1String("picBILD11") ? 11 : 18;
        const QRectF mm = nr == 11 ? QRectF(15, 30, 120, 115) : QRectF(135, 30, 120, 13);
        EXPECT_NEAR(text[i + 1].widthMm, mm.width(), 0.3);
        EXPECT_NEAR(text[i + 1].heightMm, mm.height(), 0.3);
        // The picture is the area's: the page's colour, its name in the corner.
        const QImage picture = QImage::fromData(OdfMember(odt, text[i + 1].picture));
        ASSERT_FALSE(picture.isNull()) << text[i + 1].picture.toStdString();
        EXPECT_EQ(picture.size(), page->picBILD(int16_t(nr)).Image().size());
        EXPECT_EQ(picture.pixelColor(picture.width() / 2, picture.height() - 15), Blue);
        EXPECT_EQ(picture.pixelColor(picture.width() - 3, 3), QColor(Qt::white));
        EXPECT_FALSE(inkBox(picture, QRect(0, 0, picture.width() / 2, 20)).isNull());
    }
    EXPECT_EQ(names, (QStringList{QStringLiteral("picBILD11"), QStringLiteral("picBILD18")}));
    EXPECT_EQ(MousePointer(), 0);
    EXPECT_TRUE(Boxes().empty());
    QFile::remove(odt);

    // The start window in front: an empty document.
    ShowMaximized(&main->AUTOSTART());
    Click(13);
    ASSERT_EQ(opened.size(), 2);
    const QByteArray empty = OdfMember(opened[1], QStringLiteral("content.xml"));
    EXPECT_TRUE(empty.contains("<office:text"));
    const std::vector<Paragraph> nothing = OdfParagraphs(empty);
    EXPECT_TRUE(std::all_of(nothing.begin(), nothing.end(),
                            [](const Paragraph& p) { return p.text.isEmpty() && p.picture.isEmpty(); }));
    QFile::remove(opened[1]);

    // No program takes the document: the box, titled with the button's text; the
    // document nobody has is not left behind.
    opens = false;
    dialogs->msgAnswers = {MsgResult::OK};
    Click(13);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].title, QStringLiteral("Word"));
    EXPECT_TRUE(Boxes()[0].text.startsWith(QStringLiteral("VB-Error: 429\n")));
    EXPECT_EQ(MousePointer(), 0);
    EXPECT_FALSE(QFile::exists(opened[2]));

    // The desktop's opener finds no program after the command has returned: the same box.
    SetDocumentOpenerHook(nullptr);
    const FakeDesktopOpener desktop("exit 3");
    dialogs->shown.clear();
    dialogs->msgAnswers = {MsgResult::OK};
    Click(13);
    EXPECT_TRUE(Boxes().empty());
    ASSERT_TRUE(WaitFor([&] { return Boxes().size() == 1; }, 20000));
    EXPECT_EQ(Boxes()[0].title, QStringLiteral("Word"));
    EXPECT_TRUE(Boxes()[0].text.startsWith(QStringLiteral("VB-Error: 429\n")));
    EXPECT_EQ(Boxes()[0].buttons, MsgButtons::OK);
    ASSERT_EQ(desktop.opened().size(), 1);
    EXPECT_FALSE(QFile::exists(desktop.opened()[0]));
}

TEST_F(PageButtons, EscapeOnAPageClosesEveryPageButTheStartWindow)
{
    Load(QStringLiteral("mdiSEITE1"));
    ButtonPage* input = Load(QStringLiteral("mdiESEITE1"));
    PageState();
    main->Menu(QStringLiteral("mnuAUSWERTEN"))->setEnabled(false);
    Click(10);   // the page chooser: a window, but no MDI child
    auto* chooser = main->findChild<frmANZEIGEN*>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_NE(chooser, nullptr);
    ShowMaximized(input);
    Key(input, Qt::Key_Escape);
    ExpectPagesClosed();
    EXPECT_FALSE(main->Menu(QStringLiteral("mnuAUSWERTEN"))->isEnabled());
    EXPECT_EQ(main->findChild<frmANZEIGEN*>(QString(), Qt::FindDirectChildrenOnly), chooser);
}

// Ctrl+W as the keyboard sends it reaches the page: the page goes into a document. The
// page's window offers closing too (its button, its menu): that closes the pages as
// "Schließen" does, so that the page state never outlives the pages.
TEST_F(PageButtons, ControlWWritesThePageAndClosingItsWindowClosesThePages)
{
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    ButtonPage* page = Load(QStringLiteral("mdiSEITE1"));
    PageState();
    page->setFocus();
    QTest::keyClick(page, Qt::Key_W, Qt::ControlModifier);
    QCoreApplication::processEvents();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0].startsWith(QDir::tempPath() + QStringLiteral("/TREMOL-mdiSEITE1-")));
    QFile::remove(opened[0]);
    EXPECT_EQ(MdiChildren(), (QStringList{QStringLiteral("mdiAUTOSTART"), QStringLiteral("mdiSEITE1")}));
    EXPECT_TRUE(Panel(15).Visible());
    EXPECT_TRUE(Boxes().empty());

    // A click where the user closes the maximised page: the button at the menu bar's end,
    // or "Close" in the window menu at its start.
    const std::pair<const char*, std::function<void()>> closings[] = {
        {"close button",
         [&] {
             QWidget* controls = main->menuBar()->cornerWidget(Qt::TopRightCorner);
             ASSERT_NE(controls, nullptr);
             ASSERT_TRUE(controls->isVisible());
             const QPoint at(controls->width() - controls->height() / 2, controls->height() / 2);
             QTest::mouseClick(controls, Qt::LeftButton, {}, at);
         }},
        {"window menu",
         [&] {
             QWidget* icon = main->menuBar()->cornerWidget(Qt::TopLeftCorner);
             ASSERT_NE(icon, nullptr);
             QTest::mouseClick(icon, Qt::LeftButton, {}, icon->rect().center());
             auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
             ASSERT_NE(menu, nullptr);
             QAction* close = menu->actions().last();
             QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(close).center());
         }},
    };
    for (const auto& [way, close] : closings) {
        SCOPED_TRACE(way);
        if (!page)
            page = Load(QStringLiteral("mdiSEITE1"));
        PageState();
        close();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ExpectPagesClosed();
        page = nullptr;
    }
}

TEST_F(PageButtons, ControlAOnAPageOnlyRestoresTheButtonAndThePointer)
{
    ButtonPage* page = Load(QStringLiteral("mdiSEITE1"));
    PageState();
    Panel(14).SetBevel(PanelBevel::Inset);
    SetMousePointer(11);
    Key(page, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Panel(14).Bevel(), PanelBevel::Raised);
    EXPECT_EQ(MousePointer(), 0);
    EXPECT_FALSE(Panel(14).Visible());
    EXPECT_TRUE(Panel(15).Visible());
    EXPECT_EQ(MdiChildren(), (QStringList{QStringLiteral("mdiAUTOSTART"), QStringLiteral("mdiSEITE1")}));
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(PageButtons, AnInvalidPropertyValueEndsACommandWithoutABox)
{
    ButtonPage* page = Load(QStringLiteral("mdiSEITE1"));
    PageState();
    // The screenshot's first yield fails: the command ends there, unseen, through the
    // common end; nothing is saved.
    SetDoEventsHook([] { throw VbError(VbErr::InvalidProperty); });
    dialogs->inputAnswers = {QStringLiteral("Bild")};
    Key(page, Qt::Key_C, Qt::ControlModifier);
    SetDoEventsHook(nullptr);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_FALSE(QFile::exists(main->PROJEKTSPFAD() + QStringLiteral("/TE0000.00/JPG/Bild.bmp")));
    EXPECT_EQ(Panel(12).Bevel(), PanelBevel::Raised);
    EXPECT_EQ(MousePointer(), 0);
}

TEST_F(PageButtons, APressedButtonLooksPressedUntilItsCommandEnds)
{
    Load(QStringLiteral("mdiSEITE1"));
    PageState();
    StatusPanel& copy = Panel(12);
    QElapsedTimer pause;
    pause.start();
    Mouse(QEvent::MouseButtonPress, copy);
    EXPECT_GE(pause.elapsed(), 250);
    EXPECT_EQ(copy.Bevel(), PanelBevel::Inset);
    EXPECT_EQ(Panel(11).Bevel(), PanelBevel::Raised);
    PanelBevel whileAsked = PanelBevel::Raised;
    dialogs->onShow = [&](const ScriptedDialogService::Shown&) { whileAsked = copy.Bevel(); };
    dialogs->inputAnswers = {QString()};
    Mouse(QEvent::MouseButtonRelease, copy);
    EXPECT_EQ(whileAsked, PanelBevel::Inset);
    EXPECT_EQ(copy.Bevel(), PanelBevel::Raised);
    dialogs->onShow = nullptr;

    // A press on an information panel pauses too, and no button changes its look.
    StatusPanel& project = Panel(2);
    pause.restart();
    Mouse(QEvent::MouseButtonPress, project);
    EXPECT_GE(pause.elapsed(), 250);
    Mouse(QEvent::MouseButtonRelease, project);
    for (int n = 8; n <= 15; ++n)
        EXPECT_EQ(Panel(n).Bevel(), PanelBevel::Raised) << n;
    EXPECT_EQ(dialogs->shown.size(), 1u);
}
