#include "platform/DialogService.h"
#include "platform/Documents.h"
#include "platform/FileOps.h"
#include "platform/Locale.h"
#include "support/TestHelpers.h"
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <climits>
#include <functional>

namespace {
// Runs on the dialog that the next call opens; dropped with the context, where one is
// given (the dialog the next one is to open from), should it close first.
template <class Dialog>
void onNextDialog(std::function<void(Dialog*)> act, const QObject* context = qApp)
{
    QTimer::singleShot(0, context, [act] {
        auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        act(d);
    });
}
}

namespace {
TEST(ScriptedDialogs, AnswersFromQueuesAndFailsTheTestOnAnUnexpectedBox)
{
    ScriptedDialogService d;
    std::vector<QString> seenByHook;
    d.onShow = [&](const ScriptedDialogService::Shown& s) { seenByHook.push_back(s.box.text); };
    d.msgAnswers = {MsgResult::No};
    EXPECT_EQ(d.MsgBox(QStringLiteral("a"), MsgButtons::YesNo, MsgIcon::Question, QStringLiteral("T")), MsgResult::No);
    ASSERT_EQ(d.boxes().size(), 1u);
    EXPECT_EQ(d.boxes()[0].text, QStringLiteral("a"));
    EXPECT_EQ(d.boxes()[0].title, QStringLiteral("T"));
    EXPECT_EQ(d.boxes()[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(d.boxes()[0].icon, MsgIcon::Question);

    // A box with no queued answer fails the test that raised it, and gets its first button.
    MsgResult unexpected = MsgResult::Cancel;
    EXPECT_NONFATAL_FAILURE(
        unexpected = d.MsgBox(QStringLiteral("b"), MsgButtons::YesNoCancel, MsgIcon::None, QStringLiteral("U")),
        "Unexpected box: MsgBox \"U\": b");
    EXPECT_EQ(unexpected, MsgResult::Yes);

    d.inputAnswers = {QStringLiteral("Wand 1")};
    EXPECT_EQ(d.InputBox(QStringLiteral("Name?"), QStringLiteral("Neu"), QStringLiteral("x")), QStringLiteral("Wand 1"));
    QString noAnswer = QStringLiteral("?");
    EXPECT_NONFATAL_FAILURE(noAnswer = d.InputBox(QStringLiteral("Name?"), QStringLiteral("Neu"), QString()),
                            "Unexpected box: InputBox");
    EXPECT_EQ(noAnswer, QString());
    EXPECT_EQ(d.shown[2].kind, QStringLiteral("InputBox"));
    EXPECT_EQ(d.shown[2].box.text, QStringLiteral("Name?"));
    EXPECT_EQ(d.shown[2].box.title, QStringLiteral("Neu"));
    EXPECT_EQ(d.shown[2].defaultText, QStringLiteral("x"));
    EXPECT_EQ(seenByHook, (std::vector<QString>{"a", "b", "Name?", "Name?"}));
}

TEST(ScriptedDialogs, BoxClosedWithoutAButtonGivesCancelElseNoElseItsOnlyButton)
{
    const std::pair<MsgButtons, MsgResult> cases[] = {{MsgButtons::OK, MsgResult::OK},
                                                      {MsgButtons::OKCancel, MsgResult::Cancel},
                                                      {MsgButtons::YesNo, MsgResult::No},
                                                      {MsgButtons::YesNoCancel, MsgResult::Cancel},
                                                      {MsgButtons::RetryCancel, MsgResult::Cancel}};
    for (const auto& [buttons, answer] : cases)
        EXPECT_EQ(ClosedAnswer(buttons), answer);
}

TEST(ScriptedDialogs, PrintColourHelpAndFileName)
{
    ScriptedDialogService d;
    PrintRangeRequest chosen;
    chosen.Min = 1, chosen.Max = 2, chosen.FromPage = 2, chosen.ToPage = 2, chosen.allPages = false;
    d.printAnswers = {chosen, std::nullopt};
    PrintRangeRequest r;
    r.Max = 2;
    EXPECT_TRUE(d.ShowPrinter(r));
    EXPECT_FALSE(r.allPages);
    EXPECT_EQ(r.FromPage, 2);
    EXPECT_FALSE(d.ShowPrinter(r));   // cancelled
    PrintRangeRequest untouched;
    EXPECT_TRUE(d.ShowPrinter(untouched));   // nothing queued: confirmed as preset
    EXPECT_TRUE(untouched.allPages);
    EXPECT_EQ(d.shown[0].print.Max, 2);

    d.colorAnswers = {QColor(Qt::red), std::nullopt};
    EXPECT_EQ(d.ShowColor(Qt::blue), QColor(Qt::red));
    EXPECT_EQ(d.ShowColor(Qt::blue), std::nullopt);
    EXPECT_EQ(d.ShowColor(Qt::blue), QColor(Qt::blue));

    d.ShowHelp(QStringLiteral("/p/TREMOL.html"), 34, nullptr);
    EXPECT_EQ(d.shown.back().kind, QStringLiteral("ShowHelp"));
    EXPECT_EQ(d.shown.back().box.helpFile, QStringLiteral("/p/TREMOL.html"));
    EXPECT_EQ(d.shown.back().helpContext, 34);

    FileNameRequest f;
    f.title = QStringLiteral("Speichern");
    d.fileAnswers = {QStringLiteral("/tmp/a.bmp")};
    EXPECT_EQ(d.FileName(f), QStringLiteral("/tmp/a.bmp"));
    EXPECT_EQ(d.FileName(f), std::nullopt);
    EXPECT_EQ(d.shown.back().box.title, QStringLiteral("Speichern"));
    EXPECT_TRUE(d.boxes().empty());
}

TEST(QtDialogs, MessageBoxButtonsIconAndAnswer)
{
    QtDialogService dialogs;
    struct Case {
        MsgButtons buttons;
        MsgIcon icon;
        QMessageBox::StandardButton click;
        MsgResult expected;
        QMessageBox::Icon qtIcon;
    } cases[] = {
        {MsgButtons::OKCancel, MsgIcon::Exclamation, QMessageBox::Cancel, MsgResult::Cancel, QMessageBox::Warning},
        {MsgButtons::OK, MsgIcon::None, QMessageBox::Ok, MsgResult::OK, QMessageBox::NoIcon},
        {MsgButtons::YesNoCancel, MsgIcon::Question, QMessageBox::No, MsgResult::No, QMessageBox::Question},
        {MsgButtons::RetryCancel, MsgIcon::Critical, QMessageBox::Retry, MsgResult::Retry, QMessageBox::Critical},
        {MsgButtons::YesNo, MsgIcon::Information, QMessageBox::Yes, MsgResult::Yes, QMessageBox::Information},
    };
    for (const auto& c : cases) {
        QString text, title;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        onNextDialog<QMessageBox>([&, c](QMessageBox* box) {
            text = box->text();
            title = box->windowTitle();
            icon = box->icon();
            box->button(c.click)->click();
        });
        EXPECT_EQ(dialogs.MsgBox(QStringLiteral("VB-Error: 6\nÜberlauf"), c.buttons, c.icon, QStringLiteral("&Titel")),
                  c.expected);
        EXPECT_EQ(text, QStringLiteral("VB-Error: 6\nÜberlauf"));
        EXPECT_EQ(title, QStringLiteral("Titel"));   // a menu caption's mnemonic sign is not shown
        EXPECT_EQ(icon, c.qtIcon);
    }
}

// A box that waits for something outside the program closes itself once it has come,
// answering as a box closed without a button.
TEST(QtDialogs, ABoxWaitingForSomethingClosesItselfOnceItHasCome)
{
    QtDialogService dialogs;
    MsgBoxRequest request;
    request.text = QStringLiteral("Warten?");
    request.buttons = MsgButtons::YesNo;
    request.defaultButton = MsgResult::Yes;
    int asked = 0;
    bool open = true;
    request.closesWhen = [&] {
        open = open && QApplication::activeModalWidget() != nullptr;
        return ++asked == 3;
    };
    // A box that stays open is answered "Yes" after a long while, failing the test.
    QTimer stays;
    stays.setSingleShot(true);
    QObject::connect(&stays, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Yes)->click();
    });
    stays.start(30000);
    EXPECT_EQ(dialogs.MsgBox(request), MsgResult::No);
    EXPECT_EQ(asked, 3);
    EXPECT_TRUE(open);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// Titles taken from menu captions show no mnemonic sign, and a box is wide enough for
// its title even when its text is short.
TEST(QtDialogs, TitlesReadAsWordsAndFitTheirBox)
{
    QtDialogService dialogs;
    const struct {
        const char* title;
        const char* shown;
    } cases[] = {
        {"&Löschen", "Löschen"},
        {"Export && Import", "Export & Import"},
        {"Kontextmenü Diagramm: Grundwasserspiegel der rechten Seite", "Kontextmenü Diagramm: Grundwasserspiegel der rechten Seite"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        QString title;
        int width = 0;
        onNextDialog<QMessageBox>([&](QMessageBox* box) {
            title = box->windowTitle();
            width = box->width();
            box->button(QMessageBox::Ok)->click();
        });
        dialogs.MsgBox(QStringLiteral("Nein."), MsgButtons::OK, MsgIcon::Exclamation, QString::fromUtf8(c.title));
        EXPECT_EQ(title, QString::fromUtf8(c.shown));
        QFont bold = QApplication::font();
        bold.setBold(true);
        EXPECT_GE(width, QFontMetrics(bold).horizontalAdvance(title) + 100);
    }
}

TEST(QtDialogs, HelpButtonOpensHelpAndKeepsTheQuestion)
{
    const FakeDesktopOpener desktop;
    QtDialogService dialogs;
    MsgBoxRequest request;
    request.text = QStringLiteral("Komprimieren?");
    request.buttons = MsgButtons::YesNo;
    request.helpFile = QStringLiteral("/suite/TREMOL/TREMOL.html");
    request.helpContext = 34;
    onNextDialog<QMessageBox>([](QMessageBox* box) {
        box->button(QMessageBox::Help)->click();
        onNextDialog<QMessageBox>([](QMessageBox* again) { again->button(QMessageBox::No)->click(); });
    });
    EXPECT_EQ(dialogs.MsgBox(request), MsgResult::No);
    dialogs.ShowHelp(QStringLiteral("/suite/TREMOL/TREMOL.html"), 0, nullptr);
    EXPECT_TRUE(WaitFor([&] { return desktop.opened().size() == 2; }, 10000));
    QStringList opened = desktop.opened();   // both openers run at once
    opened.sort();
    EXPECT_EQ(opened, (QStringList{"/suite/TREMOL/TREMOL.html", "file:///suite/TREMOL/TREMOL.html#ctx34"}));
}

// The opener is waited for without blocking, however long it takes to fail; one that
// ends well, late or at once, is no failure; a desktop without any opener is an error
// at once.
TEST(QtDialogs, OpenersThatFailAreReportedWheneverTheyEnd)
{
    QTemporaryDir dir;
    const FakeDesktopOpener desktop("case \"$1\" in *fails*) exit 3;; *late*) sleep 3; exit 3;; *slow*) sleep 2;; esac");
    QStringList failed;
    const auto report = [&failed](const QString& name) {
        return [&failed, name](const VbError& e) {
            EXPECT_EQ(e.number(), VbErr::CannotCreateObject);
            failed << name;
        };
    };
    QtDialogService dialogs;
    for (const char* name : {"opens.odt", "fails.odt", "late.odt", "slow.odt", "late.html"}) {
        const QString document = dir.filePath(QLatin1String(name));
        QFile(document).open(QIODevice::WriteOnly);
        QElapsedTimer call;
        call.start();
        if (QString::fromLatin1(name).endsWith(QLatin1String(".html")))
            dialogs.ShowHelp(document, 7, report(QLatin1String(name)));
        else
            OpenDocument(document, report(QLatin1String(name)));
        EXPECT_LT(call.elapsed(), 1500) << name;   // the window is never held
    }
    EXPECT_TRUE(failed.isEmpty());
    ASSERT_TRUE(WaitFor([&] { return failed.size() == 3; }, 20000)) << failed.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(failed.first(), QStringLiteral("fails.odt"));
    failed.sort();
    EXPECT_EQ(failed, (QStringList{"fails.odt", "late.html", "late.odt"}));
    EXPECT_EQ(desktop.opened().size(), 5);

    // No opener at all.
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(dir.path()));
    EXPECT_EQ(VbErrorOf([&] { OpenDocument(dir.filePath(QStringLiteral("opens.odt")), report(QString())); }),
              VbErr::CannotCreateObject);
    qputenv("PATH", path);
}

// The Help button of a box tells a help that nothing opens in the help's own box, on
// top of the question, which stays.
TEST(QtDialogs, HelpButtonOfABoxReportsAFailingOpener)
{
    QTemporaryDir dir;
    const QString document = dir.filePath(QStringLiteral("TREMOL.html"));
    const FakeDesktopOpener failing("exit 4");
    QtDialogService dialogs;
    MsgBoxRequest request;
    request.text = QStringLiteral("Komprimieren?");
    request.buttons = MsgButtons::YesNo;
    request.helpFile = document;
    QString errorTitle;
    bool helped = false;
    QTimer act;
    QObject::connect(&act, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (box->windowTitle() == QLatin1String("?/Hilfe")) {
            errorTitle = box->windowTitle();
            box->button(QMessageBox::Ok)->click();
        } else if (!helped) {
            helped = true;
            box->button(QMessageBox::Help)->click();
        } else if (!errorTitle.isEmpty()) {
            box->button(QMessageBox::Yes)->click();
        }
    });
    act.start(20);
    EXPECT_EQ(dialogs.MsgBox(request), MsgResult::Yes);
    EXPECT_EQ(errorTitle, QStringLiteral("?/Hilfe"));
}

TEST(QtDialogs, ButtonsSpeakTheProgramsLanguage)
{
    QtDialogService dialogs;
    const auto buttonTexts = [&] {
        QStringList texts;
        onNextDialog<QMessageBox>([&](QMessageBox* box) {
            for (const auto button : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
                texts << box->button(button)->text();
            box->button(QMessageBox::Cancel)->click();
        });
        dialogs.MsgBox(QStringLiteral("?"), MsgButtons::YesNoCancel, MsgIcon::Question, QStringLiteral("T"));
        return texts;
    };
    const QStringList german{"&Ja", "&Nein", "Abbrechen"};
    // Every locale but an English one gives the program's German.
    const std::pair<QLocale, QStringList> cases[] = {{German(), german},
                                                     {QLocale(QLocale::French, QLocale::France), german},
                                                     {QLocale::c(), german},
                                                     {English(), {"&Yes", "&No", "Cancel"}}};
    for (const auto& [locale, texts] : cases) {
        EXPECT_TRUE(LoadQtTranslations(locale)) << locale.name().toStdString();
        EXPECT_EQ(buttonTexts(), texts) << locale.name().toStdString();
    }
}

TEST(QtDialogs, InputBoxReturnsTheTextOrEmptyOnCancel)
{
    QtDialogService dialogs;
    onNextDialog<QInputDialog>([](QInputDialog* d) {
        EXPECT_EQ(d->textValue(), QStringLiteral("vorgabe"));
        EXPECT_EQ(d->labelText(), QStringLiteral("Bezeichnung:"));
        d->setTextValue(QStringLiteral("neu"));
        d->accept();
    });
    EXPECT_EQ(dialogs.InputBox(QStringLiteral("Bezeichnung:"), QStringLiteral("T"), QStringLiteral("vorgabe")),
              QStringLiteral("neu"));
    onNextDialog<QInputDialog>([](QInputDialog* d) { d->reject(); });
    EXPECT_EQ(dialogs.InputBox(QStringLiteral("p"), QStringLiteral("T"), QStringLiteral("vorgabe")), QString());
}

// The output file typed into the print dialog, confirmed with its button: a name lands
// in the folder the dialog proposed, with ".pdf" unless it ends so (the points of project
// numbers and designations end no name); a name that names no file, holds control
// characters, lies in a folder that does not exist or is longer than the system takes
// (with the temporary name it is first written under; umlauts take two of its bytes) is
// refused with a box saying why, and the dialog stays open with the name.
TEST(QtDialogs, PrintFileNameLandsWhereTheDialogProposedIt)
{
    const LocaleScope german(German());
    QTemporaryDir project, home;
    const QString folder = project.path();
    ASSERT_TRUE(QDir(folder).mkdir(QStringLiteral("Mappe")));
    const QString empty = QStringLiteral("Der Dateiname ist leer.");
    const QString control = QString::fromUtf8("Der Dateiname enthält Steuerzeichen (etwa einen Tabulator oder einen "
                                              "Zeilenwechsel), die kein Dateiname enthalten darf.");
    const QString missing = QStringLiteral("Den Ordner gibt es nicht: ");
    // The bytes a name may have here: the system's limit, less what the temporary name adds.
    const QString probe = folder + QStringLiteral("/x.pdf");
    const int room = NAME_MAX - int(PartialName(probe).size() - probe.size());
    const QString fitting = QString(room - 4, QLatin1Char('a'));
    const auto tooLong = [&](int length) {
        return QString::fromUtf8("Der Dateiname ist zu lang: hier sind höchstens %1 Zeichen möglich, die Endung \".pdf\" "
                                 "eingeschlossen (Umlaute und andere Sonderzeichen zählen mehrfach); er hat %2.")
            .arg(room)
            .arg(length);
    };
    struct Case {
        QString typed;
        QString file;   // the printer's file; empty: refused
        QString box;
    };
    const Case cases[] = {
        {QStringLiteral("abc"), folder + QStringLiteral("/abc.pdf"), {}},
        {QStringLiteral("1e40"), folder + QStringLiteral("/1e40.pdf"), {}},
        {QStringLiteral("'; DROP TABLE E1; --"), folder + QStringLiteral("/'; DROP TABLE E1; --.pdf"), {}},
        {QStringLiteral("TE0000.00_Variante2"), folder + QStringLiteral("/TE0000.00_Variante2.pdf"), {}},
        {QStringLiteral("Wand 2.5m"), folder + QStringLiteral("/Wand 2.5m.pdf"), {}},
        {QStringLiteral("Bericht.txt"), folder + QStringLiteral("/Bericht.txt.pdf"), {}},
        {QStringLiteral("Bericht."), folder + QStringLiteral("/Bericht.pdf"), {}},
        {QStringLiteral("Mappe/Bericht.pdf"), folder + QStringLiteral("/Mappe/Bericht.pdf"), {}},
        {home.filePath(QStringLiteral("Bericht")), home.filePath(QStringLiteral("Bericht.pdf")), {}},
        {home.filePath(QStringLiteral("Bericht.PDF")), home.filePath(QStringLiteral("Bericht.PDF")), {}},
        {QString(), {}, empty},
        {QStringLiteral("   "), {}, empty},
        {home.path() + QLatin1Char('/'), {}, empty},
        {QStringLiteral("ab\tc"), {}, control},
        {QStringLiteral("abc\r\n"), {}, control},
        {QStringLiteral("a") + QChar(0) + QStringLiteral("b"), {}, control},
        {QStringLiteral("a") + QChar(0x7f), {}, control},
        {QStringLiteral("nosuch/x"), {}, missing + folder + QStringLiteral("/nosuch")},
        {home.filePath(QStringLiteral("Mappe/Bericht.pdf")), {}, missing + home.filePath(QStringLiteral("Mappe"))},
        {fitting, folder + QLatin1Char('/') + fitting + QStringLiteral(".pdf"), {}},
        {fitting + QLatin1Char('a'), {}, tooLong(room + 1)},
        {QString(300, QLatin1Char('a')), {}, tooLong(304)},
        {QString(150, QChar(0xE4)), {}, tooLong(304)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        QPrinter printer;
        QtDialogService dialogs(&printer);
        PrintRangeRequest r;
        r.fileName = folder + QStringLiteral("/TE0000.00_Beispiel.pdf");
        bool enabled = false;
        QString boxText, boxTitle, dialogTitle, kept;
        onNextDialog<QPrintDialog>([&](QPrintDialog* d) {
            auto* file = d->findChild<QLineEdit*>(QStringLiteral("filename"));
            ASSERT_NE(file, nullptr);
            enabled = file->isEnabled();
            dialogTitle = d->windowTitle();
            file->setText(c.typed);
            auto* buttons = d->findChild<QDialogButtonBox*>();
            ASSERT_NE(buttons, nullptr);
            if (!c.box.isEmpty())
                onNextDialog<QMessageBox>(
                    [&](QMessageBox* box) {
                        boxText = box->text();
                        boxTitle = box->windowTitle();
                        box->button(QMessageBox::Ok)->click();
                    },
                    d);
            buttons->button(QDialogButtonBox::Ok)->click();
            if (c.box.isEmpty())
                return;
            // Refused: still open with the name, the keyboard in it; then cancelled.
            EXPECT_TRUE(d->isVisible());
            kept = file->text();
            EXPECT_EQ(d->focusWidget(), file);
            d->reject();
        });
        // A box nobody answers is closed, the innermost first.
        const bool printed = WithDeadline("The print dialog", [&] { return dialogs.ShowPrinter(r); }, [] {
            if (auto* open = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                open->reject();
        });
        ASSERT_TRUE(enabled);   // the dialog's printer is the PDF file
        EXPECT_EQ(printed, c.box.isEmpty());
        EXPECT_EQ(boxText, c.box);
        if (c.box.isEmpty()) {
            EXPECT_EQ(printer.outputFileName(), c.file);
        } else {
            EXPECT_EQ(boxTitle, dialogTitle);   // the print dialog's
            EXPECT_EQ(kept, c.typed);
        }
    }
    // That limit is the system's own: the longest name taken can be written under its
    // temporary name, one more byte cannot.
    QFile longest(PartialName(folder + QLatin1Char('/') + fitting + QStringLiteral(".pdf")));
    EXPECT_TRUE(longest.open(QIODevice::WriteOnly)) << longest.errorString().toStdString();
    QFile longer(PartialName(folder + QLatin1Char('/') + fitting + QStringLiteral("a.pdf")));
    EXPECT_FALSE(longer.open(QIODevice::WriteOnly));
}

TEST(QtDialogs, PrintDialogTakesTheRangeAndReportsTheChoice)
{
    QPrinter printer;
    QtDialogService dialogs(&printer);
    EXPECT_EQ(&dialogs.printer(), &printer);
    PrintRangeRequest r;
    r.Min = 1, r.Max = 3, r.FromPage = 2, r.ToPage = 2;
    int min = 0, max = 0, from = 0, to = 0;
    bool printToFile = false;
    onNextDialog<QPrintDialog>([&](QPrintDialog* d) {
        min = d->minPage(), max = d->maxPage(), from = d->fromPage(), to = d->toPage();
        printToFile = d->testOption(QAbstractPrintDialog::PrintToFile);
        d->accept();
    });
    EXPECT_TRUE(dialogs.ShowPrinter(r));
    EXPECT_EQ(min, 1);
    EXPECT_EQ(max, 3);
    EXPECT_EQ(from, 2);
    EXPECT_EQ(to, 2);
    EXPECT_TRUE(printToFile);
    EXPECT_TRUE(r.allPages);
    EXPECT_TRUE(r.collate);
    // The file proposed for printing into a file, in place of the dialog's own.
    r.fileName = QStringLiteral("/suite/PROJEKTE/TE0000.00/TE0000.00_Spundwand.pdf");
    QString proposed;
    onNextDialog<QPrintDialog>([&](QPrintDialog* d) {
        if (auto* file = d->findChild<QLineEdit*>(QStringLiteral("filename")))
            proposed = file->text();
        d->reject();
    });
    EXPECT_FALSE(dialogs.ShowPrinter(r));
    EXPECT_EQ(proposed, r.fileName);
    onNextDialog<QPrintDialog>([](QPrintDialog* d) { d->reject(); });
    EXPECT_FALSE(dialogs.ShowPrinter(r));
    // A request may name the printer to set up: the one the pages print on.
    QPrinter pages;
    r.printer = &pages;
    QPrinter* setUp = nullptr;
    onNextDialog<QPrintDialog>([&](QPrintDialog* d) {
        setUp = d->printer();
        d->accept();
    });
    EXPECT_TRUE(dialogs.ShowPrinter(r));
    EXPECT_EQ(setUp, &pages);
}
}

