#pragma once
// The record commands of the main window: "&Neu" and "&Öffnen" open the input window,
// "&Auswahl" chooses the active records, "&Löschen" deletes them, and the status bar's
// buttons 8 and 9 save the input window's record or discard it. While the input window
// is open, its buttons are shown and the menus that would leave it are off.
#include <QPointer>
#include <QString>
#include <cstdint>

class frmMAIN;
class Guard;
class mdiEINGABE;

class RecordCommands {
public:
    explicit RecordCommands(frmMAIN& main) : main_(main) {}
    RecordCommands(const RecordCommands&) = delete;
    RecordCommands& operator=(const RecordCommands&) = delete;

    void mnuNEU_Click();
    void mnuOEFFNEN_Click();
    void mnuAUSWAHL_Click();
    void mnuLOESCHEN_Click();
    // Button 8: saves the input window's record, in one transaction, and leaves the
    // input state; the box of a failure is titled with title.
    void EingabeSpeichern(Guard& g, const QString& title);
    // Button 9: drops the input and leaves the input state.
    void EingabeVerwerfen(Guard& g);
    // Before the program ends at the user's command: whether the input window may go.
    // When it holds input no save has stored, the user is asked whether to drop it
    // (default "Nein": the program stays and the window keeps the input); true when
    // there is no such input or he agreed.
    bool EingabeAufgeben();
    // The input window while it is loaded.
    mdiEINGABE* EINGABE() const;

private:
    // The record-selection dialog, in a mode; true when it was confirmed.
    bool Auswahl(const QString& modus);
    // Shows the input window maximised, loading it when needed.
    mdiEINGABE& ShowEingabe();
    // The input state: the input window open, its buttons shown, the menus that
    // would leave it disabled. Leaving it unloads the window.
    void Eingabestatus(bool an);

    frmMAIN& main_;
    QPointer<mdiEINGABE> eingabe_;
    // The record the input window was opened on; 0 for a new one.
    int32_t geoeffnet_ = 0;
};
