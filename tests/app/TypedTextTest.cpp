// Whatever a user types into a field of the program's dialogs and confirms, the program
// goes on: a text that is refused shows a box and changes nothing stored. And an error
// that leaves an event handler all the same is told in the program's box, never the
// end of the program.
#include "AppFixture.h"
#include "app/frmAUSWAHL.h"
#include "app/frmEXPIMP.h"
#include "input/mdiEINGABE.h"
#include "pages/common/frmANZEIGEN.h"
#include "pages/common/frmKONTEXT11.h"
#include "pages/input/mdiESEITE1.h"
#include "pages/result/mdiSEITE1.h"
#include "platform/Documents.h"
#include "platform/PrinterSurface.h"
#include "platform/Yield.h"
#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <new>

namespace {

// What a user may type into any field: numbers beyond a Single, no number, nothing,
// a very long text, a character no file name may hold and a text aimed at SQL.
const QStringList& HostileTexts()
{
    static const QStringList texts = {
        QStringLiteral("1e40"),
        QStringLiteral("-1e40"),
        QStringLiteral("abc"),
        QStringLiteral("0"),
        QStringLiteral("-1"),
        QString(),
        QStringLiteral("   "),
        QString(10000, QLatin1Char('9')),
        QString(QChar(0)),
        QStringLiteral("'; DROP TABLE E1; --"),
    };
    return texts;
}

// Empties a field and types a text into it with a key event per character.
void TypeInto(QWidget* field, const QString& text)
{
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    TypeKeys(field, text);
}

// The scripted dialogs, but the input box is the real one, typed into key by key and
// confirmed with Enter.
class TypingDialogs : public ScriptedDialogService {
public:
    QString typed;
    QString InputBox(const QString& prompt, const QString& title, const QString& defaultText) override
    {
        QTimer::singleShot(0, [this] {
            auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            QLineEdit* field = box->findChild<QLineEdit*>();
            TypeInto(field, typed);
            QTest::keyClick(field, Qt::Key_Return);
        });
        return QtDialogService().InputBox(prompt, title, defaultText);
    }
};

class TypedText : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        dialogs = typing;
        ASSERT_EQ(Start(), frmMAIN::StartResult::Running);
        main->SetPagePause(0);
        main->resize(1000, 720);
        main->show();
        SetDocumentOpenerHook([](const QString&) { return true; });
    }
    void TearDown() override
    {
        SetDocumentOpenerHook(nullptr);
        AppFixture::TearDown();
    }
    // Every row of the project's records and layouts as text: what must not change.
    QStringList Stored() const
    {
        QStringList rows;
        for (const char* table : {"E1", "G0"}) {
            Recordset rs;
            rs.Open(QStringLiteral("SELECT * FROM [%1] ORDER BY 1, 2").arg(QLatin1String(table)), main->cnnX());
            for (; !rs.Eof(); rs.MoveNext()) {
                QStringList row;
                for (int i = 0; i < rs.FieldCount(); ++i)
                    row << (rs.Fields(i).Value().isNull() ? QStringLiteral("Null") : CStr(rs.Fields(i).Value()));
                rows << row.join(QLatin1Char('|'));
            }
            rs.Close();
        }
        return rows;
    }
    bool Running() const { return main && !main->unloaded() && QFileInfo::exists(workingCopy()); }

    std::shared_ptr<TypingDialogs> typing = std::make_shared<TypingDialogs>();
};

} // namespace

TEST_F(TypedText, AnErrorThatLeavesAnEventHandlerIsToldAndTheProgramGoesOn)
{
    dialogs->msgAnswers = {MsgResult::OK, MsgResult::OK, MsgResult::OK};
    SetMousePointer(11);
    QTimer::singleShot(0, main.get(), [] { throw VbError(VbErr::Overflow); });
    QTimer::singleShot(0, main.get(), [] { throw std::bad_alloc(); });
    QTimer::singleShot(0, main.get(), [] { throw 42; });
    ASSERT_TRUE(WaitFor([&] { return Boxes().size() == 3; }, 10000));
    const std::vector<MsgBoxRequest> boxes = Boxes();
    EXPECT_EQ(boxes[0].text, QString::fromUtf8("VB-Error: 6\nÜberlauf"));
    EXPECT_EQ(boxes[1].text, QStringLiteral("VB-Error: 7\nNicht genügend Speicher"));
    EXPECT_EQ(boxes[2].text, QStringLiteral("VB-Error: 51\nInterner Fehler"));
    for (const MsgBoxRequest& box : boxes) {
        EXPECT_EQ(box.title, QStringLiteral("TREMOL"));
        EXPECT_EQ(box.buttons, MsgButtons::OK);
        EXPECT_EQ(box.icon, MsgIcon::Exclamation);
    }
    EXPECT_EQ(MousePointer(), 0);   // the handler cut short leaves no hourglass
    EXPECT_TRUE(Running());
    // The program works on: a command after it.
    Evaluate("mnuNEUBERECHNEN");
    EXPECT_NE(OpenPage<mdiSEITE1>(), nullptr);
}

// An error that leaves a handler while a command runs (here in the event loop of the
// save's question, inside the save's transaction) is told once the command has ended:
// its box would hold the command's transaction until answered.
TEST_F(TypedText, AnErrorThatLeavesAHandlerDuringASaveIsToldAfterTheSave)
{
    main->mnuNEU_Click();
    mdiEINGABE& input = *main->EINGABE();
    input.txtKEN->setText(QStringLiteral("Beispiel"));
    input.txtZGWLS->setText(QStringLiteral("0"));
    input.txtZGWRS->setText(QStringLiteral("0"));
    std::vector<bool> inTransaction;
    typing->onShow = [&](const ScriptedDialogService::Shown& shown) {
        inTransaction.push_back(main->cnnX()->inTransaction());
        if (shown.box.buttons != MsgButtons::YesNo)
            return;
        // What the question's own event loop would deliver meanwhile.
        QTimer::singleShot(0, main.get(), [] { throw VbError(VbErr::Overflow); });
        QCoreApplication::processEvents();
    };
    dialogs->msgAnswers = {MsgResult::Yes, MsgResult::OK};
    main->stbMAIN_PanelClick(8);
    ASSERT_TRUE(WaitFor([&] { return Boxes().size() == 2; }, 10000));
    typing->onShow = nullptr;
    EXPECT_EQ(Boxes()[0].text, QStringLiteral("Soll der vorhandene Datensatz Beispiel überschrieben werden?"));
    EXPECT_EQ(Boxes()[1].text, QString::fromUtf8("VB-Error: 6\nÜberlauf"));
    EXPECT_EQ(Boxes()[1].title, QStringLiteral("TREMOL"));
    EXPECT_EQ(inTransaction, (std::vector<bool>{true, false}));
    // The save went through to its end.
    EXPECT_EQ(main->EINGABE(), nullptr);
    EXPECT_EQ(CStr(ScalarOf(main->cnnX(), QStringLiteral("SELECT [ZGWLS] FROM [E2] WHERE [ID]=1"))), QStringLiteral("0"));
    EXPECT_TRUE(Running());
}

// The pressure scale of the diagram dialog, opened with the right button from the
// input-graphic page while the result page is loaded, as the user opens it.
TEST_F(TypedText, DiagramDialogOfTheRunningProgramRefusesEveryHostileScale)
{
    Evaluate("mnuNEUBERECHNEN");
    Evaluate("mnuEINGABEGRAFIK");
    auto* input = OpenPage<mdiESEITE1>();
    ASSERT_TRUE(input && OpenPage<mdiSEITE1>());
    const QStringList before = Stored();
    for (const QString& text : HostileTexts()) {
        SCOPED_TRACE(text.left(20).toStdString());
        dialogs->shown.clear();
        dialogs->msgAnswers = {MsgResult::OK};
        bool stayedOpen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<frmKONTEXT11*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            TypeInto(dialog->txtMSP, text);
            QTest::keyClick(dialog->txtMSP, Qt::Key_Return);
            stayedOpen = dialog->isVisible();
            QTest::keyClick(dialog->txtMSP, Qt::Key_Escape);
        });
        QTest::mousePress(&input->picBILD(11), Qt::RightButton, {}, QPoint(60, 60));
        QTest::mouseRelease(&input->picBILD(11), Qt::RightButton, {}, QPoint(60, 60));
        EXPECT_TRUE(stayedOpen);
        ASSERT_EQ(Boxes().size(), 1u);
        EXPECT_EQ(Boxes()[0].title, QString::fromUtf8("Spannungsmaßstab"));
        EXPECT_EQ(Stored(), before);
        EXPECT_TRUE(Running());
    }
}

// The page chooser takes one character and makes a page number of it, as it always did.
TEST_F(TypedText, PageChooserMakesAPageNumberOfAnyText)
{
    Evaluate("mnuNEUBERECHNEN");
    Evaluate("mnuEINGABEGRAFIK");
    auto* input = OpenPage<mdiESEITE1>();
    auto* result = OpenPage<mdiSEITE1>();
    ASSERT_TRUE(input && result);
    const QStringList before = Stored();
    for (const QString& text : HostileTexts()) {
        SCOPED_TRACE(text.left(20).toStdString());
        ShowMaximized(result);
        main->stbMAIN_PanelClick(10);
        frmANZEIGEN& chooser = frmANZEIGEN::instance(*main);
        TypeInto(chooser.txtSEITE, text);
        QTest::keyClick(chooser.txtSEITE, Qt::Key_Return);
        EXPECT_FALSE(chooser.isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // Only "9" of the long text is a number: beyond the pages, the last one.
        EXPECT_EQ(main->ActiveForm(), text.startsWith(QLatin1Char('9')) ? static_cast<QWidget*>(result) : input);
    }
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(Stored(), before);
    EXPECT_TRUE(Running());
}

// The name of a screen copy is a file name: whatever names a file is taken, what none
// can name is refused with the command's box, and nothing else is written.
TEST_F(TypedText, ScreenCopyNameTypedIntoTheInputBox)
{
    Evaluate("mnuNEUBERECHNEN");
    const QString folder = suite->projectsFolder() + QStringLiteral("/TE0000.00/JPG");
    const QStringList before = Stored();
    QStringList written;
    for (const QString& text : HostileTexts()) {
        SCOPED_TRACE(text.left(20).toStdString());
        dialogs->shown.clear();
        typing->typed = text;
        const bool tooLong = text.size() > 255;
        if (tooLong)
            dialogs->msgAnswers = {MsgResult::OK};
        main->stbMAIN_PanelClick(12);
        // The field takes no NUL: typed alone it leaves the name empty, which copies nothing.
        const QString name = text.contains(QChar(0)) ? QString() : text;
        if (tooLong) {
            ASSERT_EQ(Boxes().size(), 1u);
            EXPECT_EQ(Boxes()[0].title, QStringLiteral("Kopie"));
            EXPECT_TRUE(Boxes()[0].text.startsWith(QStringLiteral("VB-Error: 75\n")));
        } else {
            EXPECT_TRUE(Boxes().empty());
            if (!name.isEmpty())
                written << name + QStringLiteral(".bmp");
        }
        EXPECT_EQ(MousePointer(), 0);
    }
    written.sort();
    QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    files.sort();
    EXPECT_EQ(files, written);
    EXPECT_EQ(Stored(), before);
    EXPECT_TRUE(Running());
}

// The file a page is printed into, as the print dialog leaves it in the printer: a
// name that names no file is refused with the print's box, and no other file is
// written in its place.
TEST_F(TypedText, PrintFileNameAsThePrintDialogLeavesIt)
{
    Evaluate("mnuNEUBERECHNEN");
    QTemporaryDir folder;
    QPrinter& printer = main->Printer().printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    QStringList written;
    for (const QString& text : HostileTexts()) {
        SCOPED_TRACE(text.left(20).toStdString());
        const QString name = QStringLiteral("Seite") + text;
        dialogs->shown.clear();
        printer.setOutputFileName(folder.filePath(name));   // the dialog kept as it is
        const bool refused = text.size() > 255 || text.contains(QChar(0));
        if (refused)
            dialogs->msgAnswers = {MsgResult::OK};
        main->stbMAIN_PanelClick(11);
        if (refused) {
            ASSERT_EQ(Boxes().size(), 1u);
            EXPECT_EQ(Boxes()[0].title, QStringLiteral("Drucken"));
        } else {
            EXPECT_TRUE(Boxes().empty());
            written << name;
        }
        EXPECT_EQ(MousePointer(), 0);
    }
    written.sort();
    QStringList files = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
    files.sort();
    EXPECT_EQ(files, written);
    EXPECT_TRUE(Running());
}

// The record dialogs show lists: typing searches them; Enter confirms the record the
// search left, and no text reaches the records.
TEST_F(TypedText, RecordDialogsTakeTypedTextAsASearch)
{
    const QStringList before = Stored();
    int typedInto = 0;
    for (const QString& text : HostileTexts()) {
        SCOPED_TRACE(text.left(20).toStdString());
        QTimer::singleShot(0, [&] {
            ++typedInto;
            auto* dialog = qobject_cast<frmAUSWAHL*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            TypeKeys(dialog->lstKEN, text);
            QTest::keyClick(dialog->lstKEN, Qt::Key_Return);
        });
        main->mnuAUSWAHL_Click();
        QTimer::singleShot(0, [&] {
            ++typedInto;
            auto* dialog = qobject_cast<frmEXPIMP*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            for (QWidget* list : {static_cast<QWidget*>(dialog->lstIMP), static_cast<QWidget*>(dialog->lstEXP),
                                  static_cast<QWidget*>(dialog->dirEXP)})
                TypeKeys(list, text);
            dialog->cmdSCHLIESSEN->click();
        });
        main->mnuEXPIMP_Click();
        EXPECT_EQ(Stored(), before);
    }
    EXPECT_EQ(typedInto, 2 * HostileTexts().size());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(Running());
}
