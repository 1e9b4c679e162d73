#pragma once
// The grid table: turns one grid control into an input table. The header row carries
// the column titles (drawn in the title mark-up on a title picture laid over it), the
// body rows hold the values, and leading fixed columns hold automatically numbered
// index levels. Every column has a type, a format, an alignment, limits, titles and a
// tooltip, which the editing, numbering and drawing members consult.
//
// Binding and configuration go in this order: EFLX, ETXT (and ECBO when a list column
// exists), EPIC, ELSB, ELST1, ELST2, ELSTTT, ELSTYP, ELFORMAT, ELA, then any of ELMIN,
// ELMAX, ELCBO, ELINDEXMIN, ELINDEXMAX, ELSELEK, EBOH, EDET, EDETE, then
// SCHRIFTEINSTELLUNGEN and BESCHRIFTEN. EFLX and ELSB reset the column model: lists set
// before them are lost, except ELST2, ELINDEXMIN, ELINDEXMAX and ELSELEK.
//
// The editors and the title picture are controls of the window, in the same parent as
// the grid (they are placed by the grid's position); the table keeps only guarded
// references to them and to the grid.
//
// The window forwards the controls' events (codes of BEARBEITEN and EINFUEGEN below):
//   grid double click       BEARBEITEN(0)          grid key press      BEARBEITEN(code)
//   grid mouse down         BEARBEITEN(-2, x)      grid mouse up       EINFUEGEN(-2)
//   grid click, scroll      EINFUEGEN(0)           (scroll: then BESCHRIFTEN)
//   editor key press        EINFUEGEN(code)        grid/picture mouse move  TOOLTIP(x, y)
//   copy / paste commands   BEARBEITEN(-1) / EINFUEGEN(-1)
//   row buttons             EINFUEGEN(0), then, unless refused, ZEILEEINFUEGEN / ZEILEENTFERNEN
//
// Failures: setters and operations show the error box ("VB-Error: ", OK goes on with the
// next statement, Cancel leaves) titled with their label ("MSFlexGrid / ..."). Getters,
// NUMMERIEREN and BESCHRIFTEN have no box: their errors (VbError) reach the caller.
// No member may be called from inside another one's loop (GUI thread only).
#include "Dynamic.h"
#include "platform/Context.h"
#include "platform/Controls.h"
#include "platform/ErrorGuard.h"
#include "platform/FlexGrid.h"
#include "platform/OutputObject.h"
#include "platform/PictureBox.h"
#include <QPointer>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class clsFLX {
public:
    // Column types (ELSTYP).
    enum ColumnType : int16_t {
        Value = 0,          // number within the limits, when the lower limit is below the upper
        Index1 = 1,         // index levels 1 to 3: fixed columns, numbered; whole numbers
        Index2 = 2,
        Index3 = 3,
        Date = 4,           // date or time
        Time = 5,           // date or time
        Elapsed = 6,        // computed from the date and time columns; tested as a value
        List = 7,           // edited in the combo box from the column's ELCBO list
    };

    // Unbound: every list empty, EBOH false, EDET 0, EDETE "". Boxes go through the
    // context's dialog service.
    explicit clsFLX(Context& ctx);

    // ---- binding
    // Binds the grid and resets the model: 15 mm per column, one empty body row.
    FlexGrid* EFLX() const { return grid_; }
    void EFLX(FlexGrid* grid);
    // The coupled table, on which row insertion, removal and appending are repeated.
    // Reading it when none was set creates an unbound one and keeps it. Couplings that
    // lead back to a table are cut there.
    std::shared_ptr<clsFLX> EFLXK();
    void EFLXK(std::shared_ptr<clsFLX> table);
    // The in-cell editors (text box for types 0 to 6, combo box for type 7); binding
    // empties and hides them.
    TextBox* ETXT() const { return txt_; }
    void ETXT(TextBox* txt);
    ComboBox* ECBO() const { return cbo_; }
    void ECBO(ComboBox* cbo);
    // The title picture: placed half a millimetre right of and below the grid's corner,
    // measured in twips. Its back colour is the window's to give; the runtime's picture
    // default, the colour of the grid's fixed cells, makes it one with the header.
    PictureBox* EPIC() const { return pic_; }
    void EPIC(PictureBox* pic);

    // ---- per-column lists (arrays indexed by grid column from 0)
    // Column widths in mm; applying them resets the model (see above).
    const Dynamic& ELSB() const { return ELSB_; }
    void ELSB(const Dynamic& list);
    // First title line, written into the header row too; second title line (units).
    const Dynamic& ELST1() const { return ELST1_; }
    void ELST1(const Dynamic& list);
    const Dynamic& ELST2() const { return ELST2_; }
    void ELST2(const Dynamic& list) { ELST2_ = list; }
    const Dynamic& ELSTTT() const { return ELSTTT_; }
    void ELSTTT(const Dynamic& list) { ELSTTT_ = list; }
    // Column types; sets the fixed columns from the index levels and renumbers.
    const Dynamic& ELSTYP() const { return ELSTYP_; }
    void ELSTYP(const Dynamic& list);
    // The choice list of one column (error 9 outside the columns).
    const Dynamic& ELCBO(int16_t INDEX) const { return ELCBO_[INDEX]; }
    void ELCBO(int16_t INDEX, const Dynamic& list);
    // Format strings; a left-out element means no format.
    const Dynamic& ELFORMAT() const { return ELFORMAT_; }
    void ELFORMAT(const Dynamic& list) { ELFORMAT_ = list; }
    // Alignments: 0 left, 1 centre, 2 right (headers always centred).
    const Dynamic& ELA() const { return ELA_; }
    void ELA(const Dynamic& list);
    // Limits; a left-out element means no limits.
    const Dynamic& ELMIN() const { return ELMIN_; }
    void ELMIN(const Dynamic& list) { ELMIN_ = list; }
    const Dynamic& ELMAX() const { return ELMAX_; }
    void ELMAX(const Dynamic& list) { ELMAX_ = list; }
    // Start values of the index levels: empty, an Integer (level 1) or an array of 2 or 3.
    const Dynamic& ELINDEXMIN() const { return ELINDEXMIN_; }
    void ELINDEXMIN(const Dynamic& value);
    // End values of levels 2 and 3: empty, an Integer (level 2) or an array of 2; sets
    // the row count to the index range. Other forms (a Long among them) only store.
    const Dynamic& ELINDEXMAX() const { return ELINDEXMAX_; }
    void ELINDEXMAX(const Dynamic& value);
    // Import column keys.
    const Dynamic& ELSELEK() const { return ELSELEK_; }
    void ELSELEK(const Dynamic& list) { ELSELEK_ = list; }

    // One cell: the first index is the grid row, the second the grid column. The let
    // writes element (SPALTENR, ZEILENR) of a two-dimensional array into that cell.
    QString EMATRIX(int16_t SPALTENR, int16_t ZEILENR);
    void EMATRIX(int16_t SPALTENR, int16_t ZEILENR, const Dynamic& array);

    // Enter on the last cell appends a row.
    bool EBOH() const { return EBOH_; }
    void EBOH(bool value) { EBOH_ = value; }
    // Reference row of the elapsed-time column: -1 the row before, 0 the first row,
    // n > 0 the last row of the group before (groups by the text of column n).
    int16_t EDET() const { return EDET_; }
    void EDET(int16_t value) { EDET_ = value; }
    // Unit of the elapsed-time column: "hh" hours, "mm" minutes, anything else seconds.
    QString EDETE() const { return EDETE_; }
    void EDETE(const QString& value) { EDETE_ = value; }
    // The cell the open editor commits into: column and row.
    int16_t ESNR() const { return ESNR_; }
    int16_t EZNR() const { return EZNR_; }

    // ---- operations
    // Writes the running numbers of the index columns (no box).
    void NUMMERIEREN();
    // Grid font (default Arial 11 pt, black), header height (two lines with ELST2), the
    // editors' fonts, and fonts 1 to 5 of the title font set.
    void SCHRIFTEINSTELLUNGEN(const QString& SCHRIFTART = {}, int16_t SCHRIFTGROESSE = 0, bool FETT = false,
                              bool UNTERSTRICHEN = false, bool KURSIV = false, int32_t FARBE = 0);
    // Renumbers, formats every cell by its column's format and computes the elapsed times;
    // false when an error was reported (whatever the answer to its box).
    bool AKTUALISIEREN();
    // Draws the titles of the columns in view on the title picture (no box).
    void BESCHRIFTEN();
    // 0 or a typed character (33 and above): open the editor over the current cell;
    // 13: append a row when the current cell is the last one and EBOH is set;
    // -1: copy the selection to the clipboard; -2: arm the fill when X (twips) lies in
    // the right 15 % of the current cell, disarm it otherwise. Other codes do nothing.
    void BEARBEITEN(int16_t BOB = 0, float X = 0.0f);
    // 0 or 13: commit the open editor (tested, formatted, written into EZNR/ESNR); a
    // refused text keeps the editor open and gives it the keyboard;
    // 27 (Escape): close the open editor without writing: the cell keeps its text;
    // -1: commit the open editor, then paste the clipboard's text into the selection
    // (not into an empty table), each cell written as a commit of its text would write
    // it; a text a commit refuses (its box names it) pastes nothing;
    // -2: when armed, commit the open editor, then fill the selection with the current
    // cell's text; disarm. A refused commit fills nothing, and the click that ends the
    // same release does not commit again.
    // False when an editor stays open after a commit: a command that commits first
    // goes no further then, so that the text being corrected keeps its cell.
    bool EINFUEGEN(int16_t BOE = 0);
    // Insert an empty row at the current row (an empty table gets its one row back);
    // remove the current row (the last row empties the table). Both repeat on the
    // coupled table. Neither commits an open editor.
    void ZEILEEINFUEGEN();
    void ZEILEENTFERNEN();
    // Shows the tooltip of the column under X (twips, from the grid's left edge) on
    // the grid and the title picture.
    void TOOLTIP(float X, float Y);

    // ---- measurement data and row filter (no window offers them; German only)
    // Fills the table from the measurement data file DATEI as the layout AKVK of the
    // measurement presets describes it, cleans the texts, numbers the rows and refreshes
    // the table. False when the import ends early: a disabled table, an unknown layout,
    // Cancel in one of its messages, a failing presets read, a file that cannot be read
    // or has more cycles than the table can take, any other error while the rows are
    // written, cleaned or numbered (the import's error box) or refreshed (the refresh's
    // box) - the table is left as it was - or a file that does not fit the layout
    // (silently; rows written so far stay as written, unrefreshed). The coupled table is
    // not changed.
    bool IMPORTIEREN(const QString& AKVK, const QString& DATEI);
    // Asks for a first and a last row and a reduced row count, then removes the rows of
    // that range that are no multiple of the step (last - first) / count, counted from
    // row 0, and refreshes the table. The coupled table is not changed.
    void ZEILENFILTER();

    // ---- model state for the members that read the table (import, row filter)
    // The rightmost column of a type (1 to 6), -1 when none.
    int16_t TYPSPALTE(int type) const { return TYPSPALTE_[size_t(type - 1)]; }
    // The start and end values of the index levels.
    int16_t INDEXMIN(int level) const { return INDEXMIN_[size_t(level - 1)]; }
    int16_t INDEXMAX(int level) const { return level == 2 ? INDEXMAX2_ : INDEXMAX3_; }
    // The title font set; font 0 is taken from the title picture for every line.
    const std::array<FontSpec, 6>& fontSet() const { return fonts_; }
    Context& context() const { return ctx_; }

private:
    // The bound grid; error 91 when none.
    FlexGrid& grid() const;
    int16_t columnType(int col) const;
    // The commit of the text box or the combo box (list); false when the value test
    // refused its text.
    bool commit(Guard& g, bool list);
    // Commits both editors; false when one stays open.
    bool commitEditors(Guard& g);
    // What a commit writes into a cell of column col for a text, typed or pasted: the
    // text tested by the column's type and limits, then formatted by its pattern;
    // nullopt when refused (after the box, which names a pasted text).
    std::optional<QString> committedText(Guard& g, int col, const QString& text, bool pasted);
    void paste(Guard& g);
    // The text box, or the combo box (list); nullptr when unbound.
    QWidget* editor(bool list) const;
    // Whether the text box or the combo box (list) is open over a column of its type.
    bool editorOpen(Guard& g, bool list);
    // Closes the open editor without writing; closing empties it and gives the grid the keyboard.
    void cancel(Guard& g, bool list);
    void close(Guard& g, bool list);
    // Tests the text of a commit into column col by its type; false when refused.
    bool testValue(Guard& g, int col, const QString& text, bool limitsGiven, float min, float max, bool named);
    void openEditors(Guard& g, int16_t code);
    void appendRow(Guard& g);
    // False when the commit before the fill was refused.
    bool fill(Guard& g);
    // Its box names the text first when named.
    bool WERTPRUEFUNG(QString& text, float min, float max, bool whole, bool date, const QString& label, bool named);
    // A row's date and time cells as read: none where a cell holds no date or time.
    struct RowTime {
        std::optional<VbDate> date, time;
    };
    static float ZEITDIFFERENZ(const RowTime& from, const RowTime& to);
    void elapsedTimes(Guard& g);
    void titleLine(double x, double y, const Dynamic& text);
    // The coupled table when it has a grid, for mirroring.
    clsFLX* mirror() const;
    GuardSpec spec(const QString& label) const;

    Context& ctx_;
    QPointer<FlexGrid> grid_;
    std::shared_ptr<clsFLX> coupled_;
    QPointer<TextBox> txt_;
    QPointer<ComboBox> cbo_;
    QPointer<PictureBox> pic_;
    std::array<FontSpec, 6> fonts_;

    Dynamic ELSB_, ELST1_, ELST2_, ELSTTT_, ELSTYP_, ELCBO_, ELFORMAT_, ELA_, ELMIN_, ELMAX_, ELINDEXMIN_,
        ELINDEXMAX_, ELSELEK_;
    bool EBOH_ = false;
    int16_t EDET_ = 0;
    int16_t EZNR_ = 0, ESNR_ = 0;
    std::array<int16_t, 3> INDEXMIN_{};
    int16_t INDEXMAX2_ = 0, INDEXMAX3_ = 0;
    std::array<int16_t, 6> TYPSPALTE_{-1, -1, -1, -1, -1, -1};
    QString EDETE_;
    bool mirroring_ = false;   // a row operation is repeating itself on coupled tables
    // A fill's commit was refused in the release now running (shared with the timer
    // that ends it).
    std::shared_ptr<bool> fillRefused_ = std::make_shared<bool>(false);
};
