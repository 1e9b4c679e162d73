#pragma once
// The input window of one record: its designation and comment, the groundwater level of
// either side and six grid tables - soil layers, flow line and structure outline, each
// for the left and the right side - on four tabs. OEFFNEN fills it from the record
// tables E1 to E5 and OK writes it back there; the main window chooses the record, its
// number and the transaction around a save.
//
// The window sees every key before its controls do: the numeric pad's decimal key types
// the locale's separator in every box and table, Alt+Q and Ctrl+S reach the main
// window's quit and save commands, Ctrl+C and Ctrl+V copy and paste in the grid that
// has the focus, and Ctrl+Tab and Ctrl+Shift+Tab move between the tabs. The
// designation and the two levels are checked when the user leaves them for another
// control of the window (Tab or a click) or picks another tab; a refused value keeps
// the focus and the key or click is dropped.
//
// Unloading is deleting the window (the main window's commands delete it later, never
// inside one of its own events). A close asked for through its window frame is passed
// to the main window's discard command instead, so that the main window's input state
// always ends with it.
#include "clsFLX.h"
#include "data/clsDATEN.h"
#include "platform/Context.h"
#include "platform/Controls.h"
#include "platform/FlexGrid.h"
#include "platform/PictureBox.h"
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QTabWidget>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class Guard;

class mdiEINGABE : public QWidget {
    Q_OBJECT
public:
    // The main window's commands the window calls. They run queued on the window's
    // top-level window, since they may unload this one.
    struct Hauptfenster {
        std::function<void()> mnuBEENDEN_Click;   // Alt+Q
        std::function<void()> Speichern;          // Ctrl+S: status-bar button 8
        std::function<void()> Verwerfen;          // a close through the frame: button 9
    };

    // Form_Load: the language code is taken from the context now; six tables with one
    // numbered row each, five views on E1 to E5, the first tab shown.
    mdiEINGABE(Context& ctx, Hauptfenster hauptfenster, QWidget* parent = nullptr);
    // Form_Unload: the tables and views go with the window; nothing is asked.
    ~mdiEINGABE() override;

    // The checks of a save, before anything is asked or written. Refused (its box, then
    // the window shows the place, false): an empty designation, an editor whose text
    // its column refuses, a groundwater level its box would refuse, a value that is no
    // number a Single holds (the box names tab, side, row and column). Warned (OK goes
    // on, Cancel shows the place and gives false): a groundwater level without a value,
    // a row that has some of its values but not all, a wholly empty row between filled
    // ones. A value still open in a cell's editor is committed first.
    bool PRUEFEN();
    // The designation a save stores and finds its record by: the box's text, or the
    // record's own while the box shows what was loaded (cut to the box's length).
    QString KEN() const;
    // Writes the window's contents as record AKTID, after PRUEFEN: E1 (KEN, KOM, AKT
    // true), E2, then E3 to E5 from the tables of both sides, in one transaction
    // (nested in the caller's). A box or cell that still shows what was loaded keeps
    // its stored value; wholly empty rows after a table's last filled row are not
    // stored. False after the first write a view refused (the comment's included), or
    // an error box left with Cancel: everything is rolled back and a box says that
    // nothing was saved.
    bool OK(int32_t AKTID);
    // Fills a freshly loaded window from record AKTID and refreshes every table; stops
    // silently at the first read a view refused.
    void OEFFNEN(int32_t AKTID);
    // Whether the window holds input that no save has stored: anything typed, pasted or
    // removed since it was loaded or opened (the designation, the comment, a level, the
    // values and filled rows of a table), or a changed text still open in a cell's
    // editor. An opened record left as it was, and empty rows after a table's last
    // filled row (which a save does not store), are no such input.
    bool Ungespeichert() const;

    QSize sizeHint() const override;

    QGroupBox* fraKEN;
    QLabel* lblKEN;
    TextBox* txtKEN;
    QLabel* lblKOM;
    TextBox* txtKOM;
    QTabWidget* SSTab;
    std::array<QWidget*, 4> fraREITER;
    TextBox* txtZGWLS;
    TextBox* txtZGWRS;
    std::array<QLabel*, 2> lblZGWLS;
    std::array<QLabel*, 2> lblZGWRS;
    std::array<QGroupBox*, 6> fraSEITE;
    std::array<FlexGrid*, 6> msgFLX;
    std::array<TextBox*, 6> txtFLX;
    std::array<PictureBox*, 6> picFLX;
    std::array<QPushButton*, 6> cmdH, cmdW, cmdK, cmdE;

    // The grid table that drives grid i.
    clsFLX& FLX(int i) const { return *FLX_[size_t(i)]; }

protected:
    // Key and mouse preview on the whole application, for controls of this window only.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void Form_Resize();
    // The window's keys, seen before the control that has the focus (the receiver).
    // True when the key is used up: replaced, a command, or it would have left a box
    // whose check refused.
    bool Form_KeyDown(QWidget* receiver, const QKeyEvent& key);
    // Ctrl+Tab and Ctrl+Shift+Tab show the next and the previous tab, round the end;
    // used up whatever the box being left says.
    static bool ReiterTaste(const QKeyEvent& key);
    bool Reiterwechsel(QWidget* receiver, const QKeyEvent& key);
    void ControlsOfTab0(QWidget* page);
    void ControlsOfSide(int i, QWidget* page, int left);
    void ConfigureTable(int i);
    void ForwardEvents(int i);
    // Sets the k-value of the first layer boundary of both sides to "0" while the
    // layers tab is shown.
    void ERSTERKWERT();
    bool WERTPRUEFUNG(QString& text, float min, float max, bool ganz, bool datum, const QString& titel);
    void txtKEN_Validate(bool& Cancel);
    void txtZGWLS_Validate(bool& Cancel);
    void txtZGWRS_Validate(bool& Cancel);
    // The three boxes checked when the user leaves them.
    bool Geprueft(const QWidget* w) const;
    // Runs the check of a checked box; false when it refused the value.
    bool Pruefen(QWidget* box);
    // A press that took the focus from a checked box (verlassen) or would show another
    // tab runs the box's check; when it refuses, the box gets the focus back and the
    // press is dropped (true).
    bool Mausklick(QWidget* receiver, QWidget* verlassen);
    // The grid that has the focus, -1 when none has.
    int ActiveGrid() const;
    // Runs a main-window command after the current event.
    void Befehl(const std::function<void()>& command);
    using Views = std::array<std::shared_ptr<clsDATEN>, 5>;
    // Moves the record between the window and the tables, in the order of both
    // operations: E1 (KEN, KOM, and AKT true when writing), E2, then per table E3, E4,
    // E5 the left grid's columns 0, 1, 2 and the right grid's. False at the first
    // transfer a view refused; a failed comment is passed over. stelle names the
    // transfer last begun, in the window's words.
    bool Uebertragen(Guard& g, const Views& views, int32_t AKTID, bool schreiben, QString& stelle);
    // Places of the window in its own words: a groundwater box ("Tremolspiegelkoten,
    // links"), and a table column or cell ("Stromlinie, Rechte Seite, Zeile 0, Spalte x";
    // the row by its running number, left out when row < 0).
    QString Spiegelstelle(bool rechts) const;
    QString Tabellenstelle(int i, int col, int row = -1) const;
    // A value cell: grid i, its row and column.
    struct Zelle {
        int i, row, col;
    };
    // The first value cell of the enabled tables, in the order of the tables, their rows
    // and columns, for which test holds.
    std::optional<Zelle> ErsteZelle(const std::function<bool(const Zelle&)>& test) const;
    QString Zellentext(const Zelle& z) const;   // trimmed
    // Shows the cell's tab and makes it the current cell of its grid, with the focus.
    void ZurZelle(const Zelle& z);
    // The parts of PRUEFEN: refusals, then warnings.
    bool AllesSpeicherbar();
    bool Vollstaendig();
    // Whether a value cell counts for a row being filled: the k-value of the first
    // layer boundary belongs to no section and never does.
    bool Zaehlt(const Zelle& z) const;
    bool ZeileLeer(int i, int row) const;
    // The data rows of grid i up to its last filled row; 0 when none is filled.
    int Gefuellt(int i) const;
    // The data rows of grid i a save stores: up to its last filled row, or all of
    // them when none is filled (a record may be kept unfinished).
    int Zeilen(int i) const;
    // Shows the groundwater box of a side with the keyboard in it.
    void ZumSpiegel(bool rechts);
    // The box after a save that failed in its writes, naming where.
    void NichtGespeichert(const QString& stelle);
    // Runs an event step whose errors reach it, showing them in a box.
    void Melden(const QString& routine, const std::function<void()>& step);
    // What a save would store of the window, as text: the boxes, then each table's
    // enabled flag and the values of its filled rows.
    QStringList Eingabestand() const;

    Context& ctx_;
    Hauptfenster hauptfenster_;
    int sprache_ = 3;
    std::array<std::shared_ptr<clsFLX>, 6> FLX_;
    Views vE_;   // views on E1 to E5
    QWidget* verlassen_ = nullptr;   // the checked box a mouse press is taking the focus from
    QStringList geladen_;            // the input as loaded or opened (Eingabestand)
};
