#pragma once
// Every message box, input box and common dialog goes through this one service.
// The Qt implementation shows real dialogs; tests install a scripted one.
#include "Documents.h"
#include <QColor>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QPrinter;

enum class MsgButtons { OK, OKCancel, YesNo, YesNoCancel, RetryCancel };
enum class MsgIcon { None, Exclamation, Question, Information, Critical };
enum class MsgResult { OK, Cancel, Yes, No, Retry };

struct MsgBoxRequest {
    QString text;
    MsgButtons buttons = MsgButtons::OK;
    MsgIcon icon = MsgIcon::None;
    QString title;
    // A Help button that opens the help file at a context, keeping the box open.
    QString helpFile;
    int helpContext = 0;
    // The button Enter presses; the first one when not given.
    std::optional<MsgResult> defaultButton;
    // A box that waits for something outside the program closes itself once this holds
    // (asked every few tenths of a second while the box is open), answering as a box
    // closed without a button (ClosedAnswer).
    std::function<bool()> closesWhen;
};

// The print dialog's page range: in with the bounds, out with the user's choice.
struct PrintRangeRequest {
    QPrinter* printer = nullptr;   // in: the printer to set up (null: the service's own)
    int Min = 1, Max = 1;
    int FromPage = 1, ToPage = 1;
    QString fileName;         // in: the PDF file proposed for printing into a file (a name typed
                              // without a folder goes into its folder)
    bool allPages = true;     // out: the user kept "all pages"
    bool collate = true;      // out: the user kept collated copies
};

struct FileNameRequest {
    QString title;
    QString folder;
    QString fileName;
    QString filter;           // Qt filter text, e.g. "Text (*.txt)"
    bool save = false;
};

class DialogService {
public:
    virtual ~DialogService() = default;
    virtual MsgResult MsgBox(const MsgBoxRequest& request) = 0;
    // Returns "" when cancelled, as the runtime's input box does.
    virtual QString InputBox(const QString& prompt, const QString& title, const QString& defaultText) = 0;
    // False when the user cancelled the dialog.
    virtual bool ShowPrinter(PrintRangeRequest& request) = 0;
    // The colour dialog with its title; nullopt when the user cancelled.
    virtual std::optional<QColor> ShowColor(const QColor& initial, const QString& title = QString()) = 0;
    // Opens the help file at a context; a help file no application opens is error 429,
    // at once or, when the desktop finds it later, handed to failed.
    virtual void ShowHelp(const QString& helpFile, int context, const OpenerFailed& failed) = 0;
    virtual std::optional<QString> FileName(const FileNameRequest& request) = 0;

    // Shorthand for the common box.
    MsgResult MsgBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title);
};

// Real dialogs on Qt widgets. Titles are shown without the mnemonic sign of the menu
// captions they may be taken from ("&Speichern" reads "Speichern"), and a message
// box is wide enough for its title.
class QtDialogService : public DialogService {
public:
    // The print dialog sets up the printer a request names, else the given one, else
    // one of its own.
    explicit QtDialogService(QPrinter* printer = nullptr);
    ~QtDialogService() override;
    MsgResult MsgBox(const MsgBoxRequest& request) override;
    QString InputBox(const QString& prompt, const QString& title, const QString& defaultText) override;
    bool ShowPrinter(PrintRangeRequest& request) override;
    std::optional<QColor> ShowColor(const QColor& initial, const QString& title = QString()) override;
    void ShowHelp(const QString& helpFile, int context, const OpenerFailed& failed) override;
    std::optional<QString> FileName(const FileNameRequest& request) override;
    using DialogService::MsgBox;
    // The printer the print dialog sets up.
    QPrinter& printer();

private:
    std::unique_ptr<QPrinter> ownPrinter_;
    QPrinter* printer_;
};

// The title of the help request and of its error box.
inline const QString HelpTitle = QStringLiteral("?/Hilfe");

// The answer of a box closed without a button (Escape, or an unload from outside):
// its Cancel, else its No, else its only button.
MsgResult ClosedAnswer(MsgButtons buttons);

// For tests: records what was shown and answers from queues. A message or input box
// is expected only with a queued answer: one that comes without is reported to the
// unexpected-box reporter (the test programs fail the running test) and answered
// with its first button or "". While an unload from outside waits, a box is closed
// as the real one is (ClosedAnswer, ""), whatever is queued; so is a box whose
// closesWhen holds once it is shown (asked once, after onShow). With no queued answer
// the print and colour dialogs are confirmed unchanged and the file-name dialog is
// cancelled.
class ScriptedDialogService : public DialogService {
public:
    // Installs the reporter of boxes no test expected (nullptr: none).
    static void SetUnexpectedBoxReporter(std::function<void(const QString& what)> reporter);

    struct Shown {
        QString kind;      // "MsgBox", "InputBox", "ShowPrinter", "ShowColor", "ShowHelp", "FileName"
        MsgBoxRequest box; // for MsgBox (text/title also filled for InputBox prompt/title, title for ShowColor)
        int helpContext = 0;
        QString defaultText;       // InputBox: the preset answer
        PrintRangeRequest print;   // ShowPrinter: the request as it came in
        FileNameRequest file;      // FileName: the request
        QColor color;              // ShowColor: the initial colour
    };
    std::vector<Shown> shown;
    std::deque<MsgResult> msgAnswers;
    std::deque<QString> inputAnswers;
    std::deque<std::optional<PrintRangeRequest>> printAnswers; // nullopt = cancelled
    std::deque<std::optional<QColor>> colorAnswers;
    std::deque<std::optional<QString>> fileAnswers;
    // Runs when something is shown, before it is answered, as a modal dialog would
    // (an unload from outside waits meanwhile): tests raise signals here.
    std::function<void(const Shown&)> onShow;

    MsgResult MsgBox(const MsgBoxRequest& request) override;
    QString InputBox(const QString& prompt, const QString& title, const QString& defaultText) override;
    bool ShowPrinter(PrintRangeRequest& request) override;
    std::optional<QColor> ShowColor(const QColor& initial, const QString& title = QString()) override;
    void ShowHelp(const QString& helpFile, int context, const OpenerFailed& failed) override;
    std::optional<QString> FileName(const FileNameRequest& request) override;
    using DialogService::MsgBox;

    // Only the message boxes, in order.
    std::vector<MsgBoxRequest> boxes() const;

private:
    Shown& record(const QString& kind);
    void shownNow(const Shown& shown);
};
