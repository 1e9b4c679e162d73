#pragma once
// The main window: start-up from the frame program's admin row, the menus, the status
// bar, the start window, help, the about box and the shutdown with the hand-back to
// the frame program. The working copy, the record commands and the page commands are
// units of their own, which the window wires to its menus and status-bar buttons.
#include "PageCommands.h"
#include "RecordCommands.h"
#include "StatusBar.h"
#include "WorkingCopy.h"
#include "mdiAUTOSTART.h"
#include "pages/common/PageHost.h"
#include "platform/Context.h"
#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <functional>
#include <memory>

class QAction;
class QMdiArea;
class PrinterSurface;
class QMenu;
class mdiEINGABE;
class VbError;

// The project folder as status panel 1 shows it: at most 20 characters are kept,
// cut at a folder separator and marked " ... ", followed by a separator.
QString KurzerProjektspfad(const QString& projektspfad);
// The query on the user's admin row; the name is quoted with its quotes doubled.
QString AdminAbfrage(const QString& columns, const QString& benutzer);

class frmMAIN : public QMainWindow, public PageHost {
    Q_OBJECT
public:
    enum class StartResult { Running, Ended };

    // programFolder: the folder of the executable (tests pass their own).
    frmMAIN(std::shared_ptr<DialogService> dialogs, const QString& programFolder);
    ~frmMAIN() override;

    // Start-up in full. Ended: a refusal was shown and the program must end at
    // once, before the event loop, without any unload.
    StartResult MDIForm_Load();

    // Run-wide members read by the other parts.
    QString BENUTZER() const;
    bool EBOINF() const { return false; }
    QString DATENBANKPFAD() const;
    QString PROJEKT() const override { return ctx_.PROJEKT; }
    QString PROJEKTSPFAD() const { return ctx_.PROJEKTSPFAD; }
    QString BEARBEITER() const override { return bearbeiter_; }
    int SPRACHE() const { return ctx_.SPRACHE; }
    QString DEZIMALPUNKT() const { return ctx_.DEZIMALPUNKT; }
    // The working copy; creates its folders when missing.
    QString XMDBPFAD() const;
    Context& context() override { return ctx_; }
    std::shared_ptr<Connection> cnnX() const { return ctx_.cnnX; }
    std::shared_ptr<Connection> cnnX_V() const { return ctx_.cnnX_V; }

    // The changed flag: the working copy may hold changes the project database lacks.
    bool Changed() const { return workingCopy_.Changed(); }
    void MarkChanged() { workingCopy_.MarkChanged(); }
    // The answer dialogs leave for the main window ("OK" and the like).
    QString Tag;

    // Menus and controls, by their names.
    QAction* Menu(const QString& name) const { return menus_.value(name); }
    StatusBar* stbMAIN;
    QMdiArea* mdiArea;
    // The start window, loaded when needed; it is maximised whenever it is in front.
    mdiAUTOSTART& AUTOSTART();
    // The loaded forms in load order: the MDI children, then the main window's dialogs.
    QList<QWidget*> Forms() const override;
    QWidget* ActiveForm() const override;
    QWidget* Owner() override { return this; }
    // Client area of the main window in twips.
    double ScaleWidth() const override;
    double ScaleHeight() const override;
    // The printer the pages print on (the default printer).
    PrinterSurface& Printer() override;

    // Commands.
    // The commands that work on the working copy run only while it is open (see
    // WithWorkingCopy).
    void mnuNEU_Click() { WithWorkingCopy("mnuNEU", [this] { records_.mnuNEU_Click(); }); }
    void mnuOEFFNEN_Click() { WithWorkingCopy("mnuOEFFNEN", [this] { records_.mnuOEFFNEN_Click(); }); }
    void mnuAUSWAHL_Click() { WithWorkingCopy("mnuAUSWAHL", [this] { records_.mnuAUSWAHL_Click(); }); }
    void mnuLOESCHEN_Click() { WithWorkingCopy("mnuLOESCHEN", [this] { records_.mnuLOESCHEN_Click(); }); }
    void mnuEXPIMP_Click();
    void mnuSCHLIESSEN_Click();
    void mnuBEENDEN_Click() override;
    void mnuSPEICHERN_Click() { Speichern(); }
    void mnuKOMPRIMIEREN_Click();
    void mnuFRAGEZEICHEN_Click();
    void mnuHILFE_Click() override;
    void mnuREADME_Click();
    void mnuHINWEISE_Click();
    void mnuINFO_Click();
    // The evaluate menu. Opening it enables its commands for exactly one active record
    // (and gives that record its result row); the commands show the input-graphic page,
    // show the result page from the stored results, or recalculate and show it.
    void mnuAUSWERTEN_Click() { WithWorkingCopy("mnuAUSWERTEN", [this] { pages_.mnuAUSWERTEN_Click(); }); }
    void mnuEINGABEGRAFIK_Click()
    {
        WithWorkingCopy("mnuEINGABEGRAFIK", [this] { pages_.mnuEINGABEGRAFIK_Click(); });
    }
    void mnuBERECHNEN_Click() { WithWorkingCopy("mnuBERECHNEN", [this] { pages_.mnuBERECHNEN_Click(); }); }
    void mnuNEUBERECHNEN_Click()
    {
        WithWorkingCopy("mnuNEUBERECHNEN", [this] { pages_.mnuNEUBERECHNEN_Click(); });
    }
    // The pause with the progress bar at 100 after a page command built its page (ms).
    void SetPagePause(int milliseconds) { pages_.SetPagePause(milliseconds); }
    // The status bar's buttons 8 to 15: the pressed look, then the command of the panel
    // clicked (8 save the input, 9 discard it, 10 the page chooser, 11 print, 12 a
    // screenshot, 13 the page into a document, 15 close the pages). The input window
    // and the pages call the command for their keys. A click while a command runs is
    // ignored.
    void stbMAIN_MouseDown(int button, int shift, float x, float y);
    void stbMAIN_PanelClick(int index) override;
    void SetPanelVisible(int index, bool visible) override;
    // The input window while it is loaded.
    mdiEINGABE* EINGABE() const { return records_.EINGABE(); }

    // Unloads the main window for the given unload mode (0 window closed, 1 own
    // unload, 2 session end, 3 stopped from outside); false when the user cancelled.
    bool Unload(int mode);
    bool unloaded() const { return unloaded_; }

    // What the command units use of the window.
    // A text in the run's language.
    QString T(const char* english, const char* german) const;
    // The current caption of a menu item, which titles its command's boxes.
    QString Caption(const QString& menu) const;
    // Lists the active records in status panel 6; a failure reaches the caller.
    void AKTIVANZEIGE();
    // The file, evaluate and tools menus on or off.
    void MenusEnabled(bool enabled);
    // The start window maximised in front: under the bar while a page is built, and
    // when the pages or the input window are gone.
    void StartWindowToFront();
    // Whether the start window is loaded (it is from the end of the start-up on).
    bool StartWindowLoaded() const { return startWindow_; }
    // The box, titled as the command that asked, of a desktop opener that failed after
    // the command had returned; shown once no command runs.
    std::function<void(const VbError&)> OpenerBox(const QString& title);

signals:
    // The main window has been unloaded: the process is to end now.
    void Ended();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void BuildStatusBar();
    void EnglishCaptions();
    [[noreturn]] void Refusal(const QString& text);
    void FillPanels();
    void OpenDocumentCommand(const QString& fileName, const QString& title);
    // Runs a command that works on the working copy. Without an open one (a start-up
    // left with Cancel before it, a compaction that could not open it again) the
    // program's error box, titled as the menu item, says so instead.
    void WithWorkingCopy(const char* menu, const std::function<void()>& command);
    // Whether the working copy is open and in the folder held since the start; otherwise
    // a box titled title says why, and false.
    bool WorkingCopyHere(const QString& title);
    // "&Export-Import": the dialog, and what its OK changes.
    void ExportImport();
    // Saves the working copy back ("&Speichern").
    WorkingCopy::SaveResult Speichern();
    void MDIForm_QueryUnload(bool& cancel, int mode);
    void MDIForm_Unload(int mode);
    void UnloadForms();

    Context ctx_;
    WorkingCopy workingCopy_{ctx_};
    RecordCommands records_{*this};
    PageCommands pages_{*this};
    QString bearbeiter_;
    std::shared_ptr<Connection> archive_;
    bool rueckkehr_ = false;
    bool refused_ = false;
    bool unloading_ = false;
    bool unloaded_ = false;
    QMap<QString, QAction*> menus_;
    QMap<QString, const char*> englishCaptions_;
    QStringList captionOrder_;
    QMenu* mnuFRAGEZEICHEN_ = nullptr;
    QPointer<mdiAUTOSTART> startWindow_;
    bool panelCommand_ = false;   // a status-bar command is running
    std::unique_ptr<PrinterSurface> printer_;
};
