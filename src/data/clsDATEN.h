#pragma once
// A database view: a small handle on one table of one database, narrowed to one
// record ID and up to three text keys. It moves one column at a time between the
// matched rows and controls or variables, counts, lists and deletes rows.
//
// Index arguments SPI1..SPI4 name index columns (they order the matched rows); an
// index value SPIkW that is given also selects rows and is written into added rows.
// An index value left out is absent, whatever its type would be.
#include "DatenSql.h"
#include "platform/Ado.h"
#include "platform/Context.h"
#include "platform/Controls.h"
#include "platform/ErrorGuard.h"
#include "platform/Variant.h"
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class FlexGrid;

// Held by shared ownership where a write may yield while its owner could let go.
class clsDATEN : public std::enable_shared_from_this<clsDATEN> {
public:
    using OptVariant = std::optional<Variant>;
    using Collection = std::vector<Variant>;

    // Works on the context's cnnX and takes the ID of the first active E1 record.
    explicit clsDATEN(Context& ctx);

    // True: the presets connection cnnX_V (in development mode cnnX); False: cnnX.
    void EBOV(bool value);
    // The database name last given; setting it opens that database of the suite as the
    // view's connection and reports in BOINF whether it did.
    QString EINFMDB() const { return databaseName_; }
    void EINFMDB(bool& BOINF, const QString& name);

    QString ETABELLE() const { return f_.ETABELLE; }
    void ETABELLE(const QString& value) { f_.ETABELLE = value; }
    QString ESPID() const { return f_.ESPID; }
    void ESPID(const QString& value) { f_.ESPID = value; }
    int32_t ESPIDW() const { return f_.ESPIDW; }
    void ESPIDW(int32_t value) { f_.ESPIDW = value; }
    QString ESPK1() const { return f_.ESPK[0]; }
    void ESPK1(const QString& value) { f_.ESPK[0] = value; }
    QString ESPK1W() const { return f_.ESPKW[0]; }
    void ESPK1W(const QString& value) { f_.ESPKW[0] = value; }
    QString ESPK2() const { return f_.ESPK[1]; }
    void ESPK2(const QString& value) { f_.ESPK[1] = value; }
    QString ESPK2W() const { return f_.ESPKW[1]; }
    void ESPK2W(const QString& value) { f_.ESPKW[1] = value; }
    QString ESPK3() const { return f_.ESPK[2]; }
    void ESPK3(const QString& value) { f_.ESPK[2] = value; }
    QString ESPK3W() const { return f_.ESPKW[2]; }
    void ESPK3W(const QString& value) { f_.ESPKW[2] = value; }

    // The matched rows, column SPV first, as an open recordset the caller closes.
    // Errors (invalid statement, closed connection) reach the caller.
    std::shared_ptr<Recordset> DT(const QString& SPV,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});

    // Control to column: the control's property goes into the first matched row; a text
    // box that still shows what it was filled with from the table gives that value.
    bool DFTC(const QString& SPV, const CheckBox& chkX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DFTCC(const QString& SPV, const CheckBox& chkX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DFTCV(const QString& SPV, const CheckBox& chkX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DFTI(const QString& SPV, const ListBox& lstX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DFTIL(const QString& SPV, const ListBox& lstX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DFTIS(const QString& SPV, const ListBox& lstX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DFTL(const QString& SPV, const Label& lblX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DFTLC(const QString& SPV, const Label& lblX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DFTLI(const QString& SPV, const Label& lblX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DFTM(const QString& SPV, const ComboBox& cboX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DFTML(const QString& SPV, const ComboBox& cboX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DFTMS(const QString& SPV, const ComboBox& cboX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DFTMT(const QString& SPV, const ComboBox& cboX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DFTO(const QString& SPV, const OptionButton& optX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DFTOC(const QString& SPV, const OptionButton& optX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DFTOV(const QString& SPV, const OptionButton& optX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DFTT(const QString& SPV, const TextBox& txtX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DFTTT(const QString& SPV, const TextBox& txtX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});

    // Column to control: the first matched row's value goes into the control, which is always set
    // (a text box keeps the value itself besides its text: LoadedValue).
    bool DTFC(const QString& SPV, CheckBox& chkX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DTFCC(const QString& SPV, CheckBox& chkX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DTFCV(const QString& SPV, CheckBox& chkX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DTFI(const QString& SPV, ListBox& lstX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DTFIL(const QString& SPV, ListBox& lstX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DTFIS(const QString& SPV, ListBox& lstX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DTFL(const QString& SPV, Label& lblX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DTFLC(const QString& SPV, Label& lblX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DTFM(const QString& SPV, ComboBox& cboX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DTFML(const QString& SPV, ComboBox& cboX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    // Appends the value of every matched row that is not Null to the list.
    bool DTFMM(const QString& SPV, ComboBox& cboX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {});
    bool DTFMS(const QString& SPV, ComboBox& cboX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DTFMT(const QString& SPV, ComboBox& cboX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DTFO(const QString& SPV, OptionButton& optX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DTFOC(const QString& SPV, OptionButton& optX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DTFOV(const QString& SPV, OptionButton& optX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DTFT(const QString& SPV, TextBox& txtX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DTFTT(const QString& SPV, TextBox& txtX,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});

    // Grid column to table column. The texts of grid column SPNR (a whole number as
    // text) in the data rows (the first ZEILEN of them when given), trimmed and with ""
    // as Null, go in order into the matched rows, ordered by the index columns (SPI4
    // only orders); a cell that still shows what it was loaded with gives that value. Missing rows are added with
    // the ID (when ESPID is set), the index values given and the keys named; matched rows
    // beyond the grid's last data row are deleted. A disabled grid (an empty table)
    // deletes every matched row. Values are converted by the column's declared type, so a
    // text that is no number is refused into a numeric column. Failures show the box
    // "Datenfehler": OK goes on with the next step, Cancel leaves; either way the result
    // is false, since the column was not written as the grid shows it. A grid column
    // that cannot be read ends the member after its box, writing and deleting nothing.
    // The message loop runs after every row: the view and the grid must outlive it.
    bool DFTF(const QString& SPV, const FlexGrid& msgFLX, const QString& SPNR,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {},
              std::optional<int> ZEILEN = {});
    bool DFTFM(const QString& SPV, const FlexGrid& msgFLX, const QString& SPNR,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {},
              std::optional<int> ZEILEN = {});
    // Table column to grid column. No matched row: the grid is disabled (an empty table)
    // in the colour of its fixed cells, and nothing else changes. Otherwise the grid is
    // enabled in the window colour, grows (never shrinks) to hold the matched rows from
    // row ZNR + 1 on (from its first data row when ZNR <= FixedRows), and each value goes
    // into column SPNR as the runtime's text of it, the cell keeping the value itself
    // (FlexGrid::LoadedValue); a Null leaves its cell. Failures as for DFTF, with
    // "eingelesen".
    bool DTFF(const QString& SPV, FlexGrid& msgFLX, const QString& SPNR,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, int16_t ZNR = 0);
    bool DTFFM(const QString& SPV, FlexGrid& msgFLX, const QString& SPNR,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {});

    // Variable to column: a single value goes into the first matched row; an array's element i
    // into matched row i (rows added or deleted to the array's length).
    bool DVTA(const QString& SPV, VbDate DTM,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DVTB(const QString& SPV, bool BO,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DVTBF(const QString& SPV, const std::vector<bool>& BO,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DVTT(const QString& SPV, const QString& TXT,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DVTTF(const QString& SPV, const std::vector<QString>& TXT,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DVTI(const QString& SPV, int16_t I,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DVTIF(const QString& SPV, const std::vector<int16_t>& ZAHLEN,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DVTL(const QString& SPV, int32_t L,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DVTS(const QString& SPV, float ZAHL,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DVTSF(const QString& SPV, const std::vector<float>& ZAHLEN,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DVTD(const QString& SPV, double ZAHL,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DVTV(const QString& SPV, const Variant& WERT,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DVTVF(const QString& SPV, const std::vector<bool>& FELD,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});

    // Column to variable: a single value from the first matched row (Empty converted when no row
    // or Null); an array's element i from matched row i (the caller sizes the array).
    bool DTVA(const QString& SPV, VbDate& DATUM,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DTVAF(const QString& SPV, std::vector<VbDate>& DATUM,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DTVB(const QString& SPV, bool& BO,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DTVBF(const QString& SPV, std::vector<bool>& BO,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DTVT(const QString& SPV, QString& TXT,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DTVTF(const QString& SPV, std::vector<QString>& ZAHLEN,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DTVI(const QString& SPV, int16_t& I,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DTVIF(const QString& SPV, std::vector<int16_t>& ZAHLEN,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DTVL(const QString& SPV, int32_t& L,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DTVS(const QString& SPV, float& ZAHL,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DTVSF(const QString& SPV, std::vector<float>& ZAHLEN,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DTVD(const QString& SPV, double& ZAHL,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DTVV(const QString& SPV, Variant& WERT,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    bool DTVVF(const QString& SPV, std::vector<Variant>& ZAHLEN,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    // Every non-Null value of the matched rows in a new collection; X untouched when no row.
    bool DTVCOL(const QString& SPV, std::optional<Collection>& X,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});

    // Counting: first and last value of the deepest named index column and the number of rows.
    void INDEX(int16_t& MINI, int16_t& MAXI, int16_t& AN,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {});
    void INDEXL(int32_t& MINI, int32_t& MAXI, int32_t& AN,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {});
    void INDEXV(Variant& MINI, Variant& MAXI, int16_t& AN,
              const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
              const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {});

    // The IDs (or designations) of the active records in ID order, or of all records
    // in designation order; ID 0 never. The array stays as it was when there is none.
    void LID(std::vector<int32_t>& ID, bool AKT);
    void LKEN(std::vector<QString>& KEN, bool AKT);
    // Deletes the matched rows.
    bool LOESCHEN(const QString& SPI1 = {}, OptVariant SPI1W = {}, const QString& SPI2 = {}, OptVariant SPI2W = {},
                  const QString& SPI3 = {}, OptVariant SPI3W = {}, const QString& SPI4 = {}, OptVariant SPI4W = {});
    // IDs of the rows meeting up to four criteria (column, value, operator); the
    // operators are normalised and written back. False when no row matched.
    bool IDKRIT(std::vector<int32_t>& IDKR, const QString& SPF1, OptVariant SPF1W, QString& SPO1,
                const QString& SPF2 = {}, OptVariant SPF2W = {}, QString* SPO2 = nullptr,
                const QString& SPF3 = {}, OptVariant SPF3W = {}, QString* SPO3 = nullptr,
                const QString& SPF4 = {}, OptVariant SPF4W = {}, QString* SPO4 = nullptr);

private:
    enum class Source { Main, Presets, Own };

    std::shared_ptr<Connection> connection() const;
    // Opens a recordset on a statement with the view's connection.
    void open(Recordset& rs, const QString& sql) const;
    void open(Recordset& rs, const SqlStatement& statement) const;
    // Yields after every row, keeping the view alive meanwhile; a caller that uses the
    // view after it returns (a failure report) holds it alive as well.
    bool SPALTESCHREIBEN(const QString& SPV, const std::vector<Variant>& WERTE, const IndexArgs& idx);
    // The columns and values a written row gets: the value, then (in an added row, or
    // where they name the value column) the ID and the given index values, then the keys.
    std::vector<std::pair<QString, Variant>> rowValues(const QString& SPV, const Variant& value, const IndexArgs& idx,
                                                       bool adding) const;
    // Writes a single value into the row the last single-value write left as the one
    // matched row, when the selection is the same and nothing can have changed the rows
    // since: inside the same transaction, no row changed through the connection. False
    // when it cannot (the caller then looks the rows up).
    bool rewriteLastRow(const QString& SPV, const Variant& value, const IndexArgs& idx);
    void rememberRow(int64_t rowid, const IndexArgs& idx);
    bool SPALTELESEN(const QString& SPV, std::vector<Variant>& WERTE, const IndexArgs& idx);
    // The single-value pattern: one value through the writer or the reader, the
    // data-error box on failure. The reader's value is handed to assign on success.
    bool writeSingle(const QString& SPV, const Variant& value, const IndexArgs& idx);
    bool readSingle(const QString& SPV, const IndexArgs& idx, const std::function<void(const Variant&)>& assign);
    // An array through the writer, its message on failure.
    bool writeArray(const QString& SPV, const std::vector<Variant>& WERTE, const IndexArgs& idx);
    // The array readers: store(i, value) for every matched row with a value.
    bool readArray(const QString& SPV, const IndexArgs& idx, const std::function<void(size_t, const Variant&)>& store);
    // The counting family: the first and last counted value and the row count.
    void count(const QString& title, const IndexArgs& idx, const std::function<void(const Variant&)>& setMINI,
               const std::function<void(const Variant&)>& setMAXI, const std::function<void(long)>& setAN);
    void list(const QString& column, bool AKT, const std::function<void(const Variant&)>& append);
    void dataError(const QString& text) const;
    // The box of the grid members: what could not be done, then the error.
    GuardSpec gridSpec(const QString& SPV, const FlexGrid& msgFLX, const QString& SPNR, const QString& done) const;

    // The row a single-value write left as the one matched row, and what it knew then.
    struct LastRow {
        std::weak_ptr<Connection> connection;
        uint64_t session = 0;
        uint64_t transactionEnds = 0;
        int64_t changes = 0;
        ViewFilter filter;        // the selection: the view's, and the call's index values
        IndexArgs idx;
        SqlStatement condition;   // its statement
        int64_t rowid = 0;
    };
    bool sameSelection(const LastRow& last, const IndexArgs& idx) const;

    Context& ctx_;
    DTStatements DTStatement_;
    std::optional<LastRow> lastRow_;
    Source source_ = Source::Main;
    std::shared_ptr<Connection> own_;   // opened through EINFMDB
    QString databaseName_;
    ViewFilter f_;
};

// A new view on a table of the working copy, for the active record.
std::shared_ptr<clsDATEN> ViewOn(Context& ctx, const QString& table);
