#pragma once
// Reading a measurement data file into a table, cycle by cycle, as its layout in the
// measurement presets describes it. The separators decide the layout:
//   cycle per line  (TZS set, TZZ empty)  every line is a cycle, its values split by TZS;
//   single line     (TZS and TZZ set)     the first line holds every cycle, each one
//                                         followed by TZZ, its values split by TZS;
//   value per line  (TZS empty)           every line is a value and ZL lines a cycle:
//                                         line 0 holds ZL - 1, line 1 the cycle number.
// Every cycle fills one table row. Nothing here knows windows or databases, so that the
// reading can be tested and fuzzed on a plain table.
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// One file layout (a row of the layout table).
struct ImportLayout {
    int32_t IDK = 0;
    int16_t ZL = 0;       // values per cycle (value per line: lines per cycle)
    QString DATUM;        // date pattern of "TT", "MM", "JJJJ" or "JJ"; empty: dates stay
    QString UHRZEIT;      // time pattern of "hh", "mm", "ss"; empty: times stay
    QString KENZ1NR;      // number of header cycles to skip, or empty
    QString KENZ1KZ;      // text that ends the header (when KENZ1NR is empty), or empty
    QString TZS, TZZ;     // value and cycle separators, markers replaced (SeparatorOf)
};

// One value of a layout (a row of the value table).
struct ImportValue {
    QString SPALTE;                   // key of the receiving column (the grid's ELSELEK)
    std::optional<double> POSITION;   // position in the cycle from 0; none: not imported
    QString PRAEFIX, SUFFIX;          // only their lengths count: characters cut off
    float FAKTOR = 0.0f;              // the numbers are multiplied by it; 1: unchanged
};

// Everything one import needs to know.
struct ImportPlan {
    ImportLayout layout;
    std::vector<ImportValue> values;    // by MNR, 0 to the largest; a missing row is empty
    int n = 0;                          // the layout's number of value rows (n <= values.size())
    std::vector<int> columns;           // by MNR: the table column that receives the value
    std::vector<int16_t> columnTypes;   // by table column: its type (4 date, 5 time)
};

// The table an import fills. Rows and columns count from 0 as the grid counts them,
// the fixed ones included; a cell outside the table is error 381, more rows than the
// table can take error 7.
class ImportTable {
public:
    virtual ~ImportTable() = default;
    virtual int Rows() const = 0;
    virtual void setRows(int rows) = 0;
    virtual QString TextMatrix(int row, int col) const = 0;
    virtual void setTextMatrix(int row, int col, const QString& text) = 0;
};

// A separator preset as text: "<BLANK>" is one blank, "<TAB>" the tab character.
QString SeparatorOf(const QString& preset);

// Shows a message of the import with OK and Cancel; true for OK.
using ImportQuestion = std::function<bool(const QString& text)>;

// Reads the lines into the table by the plan's layout. The result is the first row the
// post-processing covers (Rows when no value was read), or nullopt when the import ends
// early: Cancel in a message, no values per cycle, a header count that is no whole
// number, a single-line layout without header preset, or a last value shorter than two
// characters. Rows written up to an early end stay as written. The end of the file ends
// the reading wherever it comes. A table that cannot take another row raises its error
// 7 (and memory that runs out std::bad_alloc): the rows written so far stay, for the
// caller to take back.
// The lines are given back as the reading passes them, so that the lines and the cells
// cut from them are never held whole together.
std::optional<int> ReadMeasurementData(const ImportPlan& plan, std::vector<QString> lines, ImportTable& table,
                                       const ImportQuestion& ask);
