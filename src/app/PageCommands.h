#pragma once
// The page commands of the main window: the evaluate menu (which of its commands may
// be chosen, the input-graphic page, the result page from the stored results, the
// recalculation), and the status bar's page buttons (10 the page chooser, 11 print,
// 12 a screenshot, 13 the page into a document, 15 close the pages).
#include <QPointer>
#include <QString>

class frmMAIN;
class Guard;
class PageForm;

class PageCommands {
public:
    explicit PageCommands(frmMAIN& main) : main_(main) {}
    PageCommands(const PageCommands&) = delete;
    PageCommands& operator=(const PageCommands&) = delete;

    // Opening the evaluate menu enables its commands for exactly one active record
    // (and gives that record its result row).
    void mnuAUSWERTEN_Click();
    void mnuEINGABEGRAFIK_Click();
    void mnuBERECHNEN_Click();
    void mnuNEUBERECHNEN_Click();
    // The pause with the progress bar at 100 after a page command built its page (ms).
    void SetPagePause(int milliseconds) { pagePause_ = milliseconds; }

    // Button 10: the page chooser.
    void SeitenAnzeigen(Guard& g);
    // Button 11: prints the open pages in the range the print dialog gives.
    void SeitenDrucken(Guard& g);
    // Button 12: a screenshot into the project's bitmap folder.
    void Bildschirmkopie(Guard& g);
    // Button 13: the active page's areas into a new word-processor document.
    void SeiteNachWord(Guard& g);
    // Button 15: closes the pages.
    void SeitenSchliessen(Guard& g);

private:
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

    frmMAIN& main_;
    QPointer<PageForm> vorherigeSeite_;   // the page in front when a page command began
    int pagePause_ = 1500;
};
