#pragma once
// The main window: start-up from the frame program's admin row, the per-user
// working copy, the menus, the status bar, the start window, help, the about box
// and the shutdown with the hand-back to the frame program.
#include "StatusBar.h"
#include "mdiAUTOSTART.h"
#include "pages/common/PageHost.h"
#include "platform/Context.h"
#include "platform/InstanceLock.h"
#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>

class QAction;
class QMdiArea;
class PrinterSurface;
class QMenu;
class Guard;
class PageForm;
class mdiEINGABE;
class VbError;

// The project folder as status panel 1 shows it: at most 20 characters are kept,
// cut at a folder separator and marked " ... ", followed by a separator.
QString KurzerProjektspfad(const QString& projektspfad);
// The compaction file beside a working copy: its final ".mdb" becomes "TEMP.mdb".
QString KompressionsDatei(const QString& arbeitskopie);
// The query on the user's admin row; the name is quoted with its quotes doubled.
QString AdminAbfrage(const QString& columns, const QString& benutzer);
// A file size in MB (10^6 bytes) rounded to one decimal, halves to even.
float GroesseMB(std::uintmax_t bytes);
// How much a compaction saved, in percent of the size before, one decimal.
float ProzentKomprimiert(float before, float after);

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
    bool Changed() const { return geaendert_; }
    void MarkChanged() { geaendert_ = true; }
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
    void mnuNEU_Click();
    void mnuOEFFNEN_Click();
    void mnuAUSWAHL_Click();
    void mnuLOESCHEN_Click();
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
    void mnuAUSWERTEN_Click();
    void mnuEINGABEGRAFIK_Click();
    void mnuBERECHNEN_Click();
    void mnuNEUBERECHNEN_Click();
    // The pause with the progress bar at 100 after a page command built its page (ms).
    void SetPagePause(int milliseconds) { pagePause_ = milliseconds; }
    // The status bar's buttons 8 to 15: the pressed look, then the command of the panel
    // clicked (8 save the input, 9 discard it, 10 the page chooser, 11 print, 12 a
    // screenshot, 13 the page into a document, 15 close the pages). The input window
    // and the pages call the command for their keys. A click while a command runs is
    // ignored.
    void stbMAIN_MouseDown(int button, int shift, float x, float y);
    void stbMAIN_PanelClick(int index) override;
    void SetPanelVisible(int index, bool visible) override;
    // The input window while it is loaded.
    mdiEINGABE* EINGABE() const;

    // Unloads the main window for the given unload mode (0 window closed, 1 own
    // unload, 2 session end, 3 stopped from outside); false when the user cancelled.
    bool Unload(int mode);
    bool unloaded() const { return unloaded_; }

signals:
    // The main window has been unloaded: the process is to end now.
    void Ended();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void BuildStatusBar();
    void EnglishCaptions();
    QString T(const char* english, const char* german) const;
    QString Caption(const QString& menu) const;
    QString ProjektDatenbank() const;
    [[noreturn]] void Refusal(const QString& text);
    void FillPanels();
    void AKTIVANZEIGE();
    // The record commands' dialog, in a mode; true when it was confirmed.
    bool Auswahl(const QString& modus);
    // Shows the input window maximised, loading it when needed.
    mdiEINGABE& ShowEingabe();
    // The start window maximised in front: under the bar while a page is built, and
    // when the pages or the input window are gone.
    void StartWindowToFront();
    // Buttons 8 (save the input window's record) and 9 (discard it).
    void EingabeSpeichern(Guard& g, const QString& title);
    void EingabeVerwerfen(Guard& g);
    // The input state: the input window open, its buttons shown, the menus that
    // would leave it disabled. Leaving it unloads the window.
    void Eingabestatus(bool an);
    void MenusEnabled(bool enabled);
    void SetUpWorkingCopy(Guard& g);
    // Moves a left-over working copy aside under a name with label and time.
    QString MoveAside(const QString& copy, const QString& label);
    void OpenDocumentCommand(const QString& fileName, const QString& title);
    // The box, titled as the command that asked, of a desktop opener that failed after
    // the command had returned.
    std::function<void(const VbError&)> OpenerBox(const QString& title);
    // The page buttons: 11 print the open pages in the range the print dialog gives,
    // 12 a screenshot into the project's bitmap folder, 13 the active page's areas into
    // a new word-processor document, 15 close the pages.
    void SeitenDrucken(Guard& g);
    void Bildschirmkopie(Guard& g);
    void SeiteNachWord(Guard& g);
    void SeitenSchliessen(Guard& g);
    bool Speichern();
    void MDIForm_QueryUnload(bool& cancel, int mode);
    void MDIForm_Unload(int mode);
    void UnloadForms();
    // A page form of the evaluate commands, loaded once (an open one stays as it is).
    PageForm* LoadPage(const QString& name);
    // Shows a loaded page maximised and active.
    void ShowPage(PageForm* page);
    // A page command begins with the start window in front, the main window off and the
    // progress bar shown, and ends in the page state: the working copy counts as
    // changed, the file menu is off.
    void PageCommandBegins(Guard& g);
    void PageCommandEnds(Guard& g);
    // A page command that built no page (a failed calculation, Cancel in its error box)
    // leaves the window usable, the bar hidden and the page that was in front there.
    void PageCommandFailed();
    // The page state: the page buttons 10 to 13 and 15 shown raised.
    void PageButtons();
    // The bar at 100 for a moment after a page was built, then hidden at 0.
    void FinishProgress(Guard& g);

    Context ctx_;
    QString bearbeiter_;
    std::shared_ptr<Connection> archive_;
    bool geaendert_ = false;
    bool rueckkehr_ = false;
    bool keepWorkingCopy_ = false;
    bool refused_ = false;
    bool unloading_ = false;
    bool unloaded_ = false;
    InstanceLock lock_;
    QMap<QString, QAction*> menus_;
    QMap<QString, const char*> englishCaptions_;
    QStringList captionOrder_;
    QMenu* mnuFRAGEZEICHEN_ = nullptr;
    QPointer<mdiAUTOSTART> startWindow_;
    QPointer<mdiEINGABE> eingabe_;
    QPointer<PageForm> vorherigeSeite_;   // the page in front when a page command began
    bool panelCommand_ = false;   // a status-bar command is running
    std::unique_ptr<PrinterSurface> printer_;
    int pagePause_ = 1500;
};
