#include "DialogService.h"

#include "Controls.h"
#include "Documents.h"
#include "ErrorGuard.h"
#include "FileOps.h"
#include "Locale.h"
#include "SessionEnd.h"
#include "Yield.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <climits>
#include <unistd.h>

namespace {
// While a dialog is open the pointer is the normal arrow, whatever a command set.
class NormalPointer {
public:
    NormalPointer() : saved_(MousePointer())
    {
        if (saved_ != 0)
            SetMousePointer(0);
    }
    ~NormalPointer()
    {
        if (saved_ != 0)
            SetMousePointer(saved_);
    }
    NormalPointer(const NormalPointer&) = delete;
    NormalPointer& operator=(const NormalPointer&) = delete;

private:
    int saved_;
};

// What every modal dialog holds while open: the arrow, and an unload from outside
// waiting until the dialog has returned.
struct ModalScope {
    NormalPointer pointer;
    OutsideUnloadDeferral deferral;
};

// How often an open box asks whether what it waits for has come.
constexpr int ClosesWhenPollMs = 200;

// The buttons of a box in their order, each with the answer it gives.
using ButtonSet = std::vector<std::pair<QMessageBox::StandardButton, MsgResult>>;

ButtonSet buttonsOf(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::OK:
        return {{QMessageBox::Ok, MsgResult::OK}};
    case MsgButtons::OKCancel:
        return {{QMessageBox::Ok, MsgResult::OK}, {QMessageBox::Cancel, MsgResult::Cancel}};
    case MsgButtons::YesNo:
        return {{QMessageBox::Yes, MsgResult::Yes}, {QMessageBox::No, MsgResult::No}};
    case MsgButtons::YesNoCancel:
        return {{QMessageBox::Yes, MsgResult::Yes}, {QMessageBox::No, MsgResult::No}, {QMessageBox::Cancel, MsgResult::Cancel}};
    case MsgButtons::RetryCancel:
        return {{QMessageBox::Retry, MsgResult::Retry}, {QMessageBox::Cancel, MsgResult::Cancel}};
    }
    return {};
}

QMessageBox::Icon iconOf(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

MsgResult firstButton(MsgButtons buttons)
{
    return buttonsOf(buttons).front().second;
}

// The help file at a context, as the desktop is handed it.
QUrl HelpUrl(const QString& helpFile, int context)
{
    QUrl url = QUrl::fromLocalFile(helpFile);
    if (context != 0)
        url.setFragment(QStringLiteral("ctx%1").arg(context));
    return url;
}

MsgResult ShowBox(const MsgBoxRequest& request);

// A caption as a title bar shows it: "&&" is an ampersand, a single "&" marks the
// access key of a menu item and is not shown.
QString TitleShown(const QString& caption)
{
    QString text;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        text += caption[i];
    }
    return text;
}

// A box grows to the width its title needs in a title bar.
void FitTitle(QMessageBox& box)
{
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(TitleBarWidth(box.windowTitle()), 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
}

// A help that nothing opens is told in the help's own box, whenever the desktop finds it.
void ShowHelpError(const VbError& e)
{
    GuardSpec spec;
    spec.title = HelpTitle;
    spec.buttons = MsgButtons::OK;
    ShowBox(ErrorBoxRequest(spec, e));
}

MsgResult ShowBox(const MsgBoxRequest& request)
{
    const ModalScope modal;
    QMessageBox box;
    box.setWindowTitle(TitleShown(request.title));
    box.setText(request.text);
    box.setTextFormat(Qt::PlainText);
    box.setIcon(iconOf(request.icon));
    const ButtonSet set = buttonsOf(request.buttons);
    for (const auto& [button, result] : set)
        box.addButton(button);
    box.setDefaultButton(set.front().first);
    for (const auto& [button, result] : set)
        if (result == request.defaultButton)
            box.setDefaultButton(button);
    QAbstractButton* help = request.helpFile.isEmpty() ? nullptr : box.addButton(QMessageBox::Help);
    FitTitle(box);
    // A box waiting for something outside the program closes once it has come.
    bool closedItself = false;
    QTimer poll;
    if (request.closesWhen) {
        QObject::connect(&poll, &QTimer::timeout, &box, [&] {
            if (request.closesWhen()) {
                poll.stop();
                closedItself = true;
                box.done(0);
            }
        });
        poll.start(ClosesWhenPollMs);
    }
    for (;;) {
        box.exec();
        if (closedItself)
            return ClosedAnswer(request.buttons);
        QAbstractButton* clicked = box.clickedButton();
        if (help && clicked == help) {
            // Help keeps the question open: show the topic, then ask again.
            try {
                OpenWithDesktop(HelpUrl(request.helpFile, request.helpContext), ShowHelpError);
            } catch (const VbError& e) {
                ShowHelpError(e);
            }
            continue;
        }
        for (const auto& [button, result] : set)
            if (clicked == box.button(button))
                return result;
        return ClosedAnswer(request.buttons);
    }
}
}

MsgResult ClosedAnswer(MsgButtons buttons)
{
    const ButtonSet set = buttonsOf(buttons);
    for (const MsgResult r : {MsgResult::Cancel, MsgResult::No})
        for (const auto& [button, result] : set)
            if (result == r)
                return r;
    return set.front().second;
}

// ---- DialogService ------------------------------------------------------------

MsgResult DialogService::MsgBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title)
{
    MsgBoxRequest request;
    request.text = text;
    request.buttons = buttons;
    request.icon = icon;
    request.title = title;
    return MsgBox(request);
}

// ---- QtDialogService ------------------------------------------------------------

QtDialogService::QtDialogService(QPrinter* printer)
    : ownPrinter_(printer ? nullptr : std::make_unique<QPrinter>()), printer_(printer ? printer : ownPrinter_.get())
{
}

QtDialogService::~QtDialogService() = default;

MsgResult QtDialogService::MsgBox(const MsgBoxRequest& request)
{
    return ShowBox(request);
}

QString QtDialogService::InputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    const ModalScope modal;
    QInputDialog dialog;
    dialog.setWindowTitle(TitleShown(title));
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

namespace {

// The file a name typed into the print dialog's output field stands for, or why it is
// refused (in the program's language).
struct PrintFileChoice {
    QString path;
    QString refusal;
};

// The most bytes the name of file may have where it lies: the system's limits for a name
// and a path, less what its temporary name adds (it is written under that first).
qsizetype NameRoom(const QString& file)
{
    const QString written = LinkedFile(file);
    const qsizetype added = QFile::encodeName(PartialName(file).mid(written.size())).size();
    const QByteArray folder = QFile::encodeName(QFileInfo(written).absolutePath());
    const long nameMax = ::pathconf(folder.constData(), _PC_NAME_MAX);
    const qsizetype name = nameMax > 0 ? nameMax : NAME_MAX;
    return std::max<qsizetype>(std::min<qsizetype>(name, PATH_MAX - 1 - folder.size() - 1) - added, 0);
}

// A name without a folder, or with a relative one, lies in the folder the dialog
// proposed; a name that does not end in ".pdf" gets it (project numbers and designations
// hold points: what follows the last one is no extension). Refused: a name with control
// characters (a tab, a line break, NUL), which would end up in the file's name, one that
// names no file (empty, blanks only, or a folder), one in a folder that does not exist,
// and one longer than the system takes.
PrintFileChoice PrintFileOf(const QString& typed, const QString& proposedFolder)
{
    if (HasControlCharacters(typed))
        return {{}, ProgramText("The file name contains control characters (such as a tab or a line break), which "
                                "no file name may hold.",
                                "Der Dateiname enthält Steuerzeichen (etwa einen Tabulator oder einen "
                                "Zeilenwechsel), die kein Dateiname enthalten darf.")};
    const QString name = QFileInfo(typed).fileName();
    if (name.trimmed().isEmpty())
        return {{}, ProgramText("The file name is empty.", "Der Dateiname ist leer.")};
    QString path = QDir(proposedFolder).filePath(typed);
    if (!name.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        path += name.endsWith(QLatin1Char('.')) ? QStringLiteral("pdf") : QStringLiteral(".pdf");
    const QString folder = QFileInfo(path).absolutePath();
    if (!FolderExists(folder))
        return {{}, ProgramText("The folder does not exist: ", "Den Ordner gibt es nicht: ") + folder};
    const qsizetype room = NameRoom(path), length = QFile::encodeName(QFileInfo(path).fileName()).size();
    if (length > room)
        return {{}, ProgramText("The file name is too long: at most %1 characters are possible here, the "
                                "ending \".pdf\" included (umlauts and other special characters count more than "
                                "once); it has %2.",
                                "Der Dateiname ist zu lang: hier sind höchstens %1 Zeichen möglich, die "
                                "Endung \".pdf\" eingeschlossen (Umlaute und andere Sonderzeichen zählen "
                                "mehrfach); er hat %2.")
                        .arg(room)
                        .arg(length)};
    return {path, {}};
}

// The print dialog, whose output file lands where the dialog proposed it: a name typed
// without a folder goes into the proposed one, a name not ending in ".pdf" gets it, and
// a name that cannot be such a file is refused with a box. Its OK button's click
// takes the name before the dialog's own checks, which would take a bare name for a
// file in the current folder; a refused name stops them and the dialog stays open.
class PrintDialog : public QPrintDialog {
public:
    PrintDialog(QPrinter* printer, DialogService& boxes) : QPrintDialog(printer), boxes_(boxes)
    {
        auto* buttons = findChild<QDialogButtonBox*>(QString(), Qt::FindDirectChildrenOnly);
        if (!buttons)
            return;
        connect(buttons, &QDialogButtonBox::clicked, this, [this, buttons](QAbstractButton* button) {
            if (button != buttons->button(QDialogButtonBox::Ok) || takeFileName())
                return;
            // The click's accepting signal, which runs the checks and closes the
            // dialog, comes right after this one: it is held back for this click.
            buttons->blockSignals(true);
            QTimer::singleShot(0, buttons, [buttons] { buttons->blockSignals(false); });
        });
    }

    // The field holds the file proposed: its folder is the one a bare name goes into.
    void propose(const QString& fileName)
    {
        if (QLineEdit* field = file()) {
            if (!fileName.isEmpty())
                field->setText(fileName);
            folder_ = QFileInfo(field->text()).absolutePath();
        }
    }

private:
    // The output file's field (printing into a file is offered).
    QLineEdit* file() const { return findChild<QLineEdit*>(QStringLiteral("filename")); }

    // The name typed, as the file it stands for; false after the box that refuses it.
    bool takeFileName()
    {
        QLineEdit* field = file();
        if (!field || !field->isEnabled())
            return true;   // printing on a printer
        const PrintFileChoice choice = PrintFileOf(field->text(), folder_);
        if (!choice.refusal.isEmpty()) {
            boxes_.MsgBox(choice.refusal, MsgButtons::OK, MsgIcon::Exclamation, windowTitle());
            field->setFocus();
            return false;
        }
        field->setText(choice.path);
        return true;
    }

    DialogService& boxes_;
    QString folder_;
};

} // namespace

bool QtDialogService::ShowPrinter(PrintRangeRequest& request)
{
    const ModalScope modal;
    QPrinter& printer = request.printer ? *request.printer : *printer_;
    PrintDialog dialog(&printer, *this);
    // Printing to a PDF file stays offered: on many desktops it is the only printer.
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintCollateCopies
                      | QAbstractPrintDialog::PrintToFile);
    dialog.setMinMax(request.Min, request.Max);
    dialog.setFromTo(request.FromPage, request.ToPage);
    // The file proposed for printing into a file; the dialog's own proposal is a
    // "print.pdf" in the home folder.
    dialog.propose(request.fileName);
    printer.setCollateCopies(true);
    printer.setPrintRange(QPrinter::AllPages);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    request.allPages = printer.printRange() == QPrinter::AllPages;
    request.collate = printer.collateCopies();
    if (printer.printRange() == QPrinter::PageRange) {
        request.FromPage = printer.fromPage();
        request.ToPage = printer.toPage();
    }
    return true;
}

std::optional<QColor> QtDialogService::ShowColor(const QColor& initial, const QString& title)
{
    const ModalScope modal;
    const QColor color = QColorDialog::getColor(initial, nullptr, TitleShown(title));
    if (!color.isValid())
        return std::nullopt;
    return color;
}

void QtDialogService::ShowHelp(const QString& helpFile, int context, const OpenerFailed& failed)
{
    OpenWithDesktop(HelpUrl(helpFile, context), failed);
}

std::optional<QString> QtDialogService::FileName(const FileNameRequest& request)
{
    const ModalScope modal;
    const QString start = request.fileName.isEmpty() ? request.folder : QDir(request.folder).filePath(request.fileName);
    const QString title = TitleShown(request.title);
    const QString name = request.save ? QFileDialog::getSaveFileName(nullptr, title, start, request.filter)
                                      : QFileDialog::getOpenFileName(nullptr, title, start, request.filter);
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

QPrinter& QtDialogService::printer()
{
    return *printer_;
}

// ---- ScriptedDialogService ------------------------------------------------------

namespace {
// Moves the first queued answer into out; false when none is queued. (An out
// parameter rather than an optional of an optional, which the optimiser misreads.)
template <class T>
bool takeFront(std::deque<T>& queue, T& out)
{
    if (queue.empty())
        return false;
    out = std::move(queue.front());
    queue.pop_front();
    return true;
}

std::function<void(const QString&)>& unexpectedBoxReporter()
{
    static std::function<void(const QString&)> reporter;
    return reporter;
}

void reportUnexpected(const ScriptedDialogService::Shown& s)
{
    if (unexpectedBoxReporter())
        unexpectedBoxReporter()(QStringLiteral("%1 \"%2\": %3").arg(s.kind, s.box.title, s.box.text));
}
}

void ScriptedDialogService::SetUnexpectedBoxReporter(std::function<void(const QString&)> reporter)
{
    unexpectedBoxReporter() = std::move(reporter);
}

ScriptedDialogService::Shown& ScriptedDialogService::record(const QString& kind)
{
    shown.emplace_back();
    shown.back().kind = kind;
    return shown.back();
}

// s is a copy: the hook may show more and move the records.
void ScriptedDialogService::shownNow(const Shown& s)
{
    const OutsideUnloadDeferral modal;
    if (onShow)
        onShow(s);
}

MsgResult ScriptedDialogService::MsgBox(const MsgBoxRequest& request)
{
    Shown& s = record(QStringLiteral("MsgBox"));
    s.box = request;
    s.box.closesWhen = nullptr;   // what it asks may not outlive the box
    s.helpContext = request.helpContext;
    const Shown box = s;
    shownNow(box);
    if (OutsideUnloadRequested() || (request.closesWhen && request.closesWhen()))
        return ClosedAnswer(request.buttons);
    if (MsgResult answer{}; takeFront(msgAnswers, answer))
        return answer;
    reportUnexpected(box);
    return firstButton(request.buttons);
}

QString ScriptedDialogService::InputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    Shown& s = record(QStringLiteral("InputBox"));
    s.box.text = prompt;
    s.box.title = title;
    s.defaultText = defaultText;
    const Shown box = s;
    shownNow(box);
    if (OutsideUnloadRequested())
        return QString();
    if (QString answer; takeFront(inputAnswers, answer))
        return answer;
    reportUnexpected(box);
    return QString();
}

bool ScriptedDialogService::ShowPrinter(PrintRangeRequest& request)
{
    record(QStringLiteral("ShowPrinter")).print = request;
    std::optional<PrintRangeRequest> answer;
    if (!takeFront(printAnswers, answer))   // nothing queued: the user keeps the dialog's settings
        return true;
    if (!answer)
        return false;
    request = *answer;
    return true;
}

std::optional<QColor> ScriptedDialogService::ShowColor(const QColor& initial, const QString& title)
{
    Shown& s = record(QStringLiteral("ShowColor"));
    s.color = initial;
    s.box.title = title;
    std::optional<QColor> answer;
    return takeFront(colorAnswers, answer) ? answer : std::optional<QColor>(initial);
}

void ScriptedDialogService::ShowHelp(const QString& helpFile, int context, const OpenerFailed&)
{
    Shown& s = record(QStringLiteral("ShowHelp"));
    s.box.helpFile = helpFile;
    s.box.helpContext = context;
    s.helpContext = context;
}

std::optional<QString> ScriptedDialogService::FileName(const FileNameRequest& request)
{
    Shown& s = record(QStringLiteral("FileName"));
    s.box.title = request.title;
    s.file = request;
    std::optional<QString> answer;
    takeFront(fileAnswers, answer);
    return answer;
}

std::vector<MsgBoxRequest> ScriptedDialogService::boxes() const
{
    std::vector<MsgBoxRequest> result;
    for (const Shown& s : shown)
        if (s.kind == QLatin1String("MsgBox"))
            result.push_back(s.box);
    return result;
}
