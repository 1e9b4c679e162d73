// Fuzzing of the measurement data import: any bytes as a measurement file, split into
// lines (whole, and in two pieces as the file reader reads them: the same lines), read
// into a plain table under each layout of a fixed set (every layout, every kind of
// header, each post-processing rule) and cleaned up, under a comma and a point locale. Every message is answered OK, which takes the longest way through the reading.
#include "input/ImportPostProcessing.h"
#include "input/MeasurementFile.h"
#include "input/MeasurementImport.h"
#include "platform/Locale.h"
#include "platform/VbError.h"

#include <QLocale>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// Five columns as the grid table counts them: a header row, then the data rows.
class PlainTable : public ImportTable {
public:
    explicit PlainTable(int rows) { setRows(rows); }
    int Rows() const override { return int(cells_.size()); }
    void setRows(int rows) override
    {
        if (rows < 2)
            throw VbError(VbErr::InvalidProperty);
        cells_.resize(size_t(rows), std::vector<QString>(Cols));
    }
    QString TextMatrix(int row, int col) const override { return cells_[check(row, col)][size_t(col)]; }
    void setTextMatrix(int row, int col, const QString& text) override { cells_[check(row, col)][size_t(col)] = text; }

private:
    static constexpr size_t Cols = 5;
    size_t check(int row, int col) const
    {
        if (row < 0 || row >= Rows() || col < 0 || size_t(col) >= Cols)
            throw VbError(VbErr::InvalidArrayIndex);
        return size_t(row);
    }
    std::vector<std::vector<QString>> cells_;
};

struct Preset {
    ImportPlan plan;
    int rows;   // the table's rows before the import
};

ImportValue value(const char* key, std::optional<double> position, float factor = 1.0f, const char* prefix = "",
                  const char* suffix = "")
{
    return ImportValue{QString::fromLatin1(key), position, QString::fromLatin1(prefix), QString::fromLatin1(suffix),
                       factor};
}

Preset preset(int16_t ZL, const char* TZS, const char* TZZ, const char* KENZ1NR, const char* KENZ1KZ,
              const char* DATUM, const char* UHRZEIT, std::vector<ImportValue> values, int rows)
{
    static const QString keys[] = {"", "DATUM", "ZEIT", "A", "B"};
    Preset p{{}, rows};
    p.plan.layout = {1, ZL, DATUM, UHRZEIT, KENZ1NR, KENZ1KZ, SeparatorOf(TZS), SeparatorOf(TZZ)};
    p.plan.n = int(values.size());
    for (const ImportValue& v : values) {
        int column = 0;
        for (int c = 0; c < 5; ++c)
            if (keys[c] == v.SPALTE)
                column = c;
        p.plan.columns.push_back(column);
    }
    p.plan.values = std::move(values);
    p.plan.columnTypes = {1, 4, 5, 0, 0};
    return p;
}

const std::vector<Preset>& presets()
{
    static const std::vector<Preset> all = {
        preset(4, ";", "", "1", "", "TT.MM.JJJJ", "hh:mm:ss",
               {value("DATUM", 0), value("ZEIT", 1), value("A", 2, 0.001f, "x"), value("B", 3, 1.0f, "", "mm")}, 2),
        preset(3, "<TAB>", "", "", "DATEN", "", "", {value("Nr", 0), value("A", 1), value("B", 2, 0.0f)}, 4),
        preset(2, "<BLANK>", "", "", "", "JJMMTT", "hhmmss", {value("DATUM", 0), value("ZEIT", 1)}, 2),
        preset(1, ";", "", "", "", "MM", "hh", {value("A", 0, 2.5f)}, 2),
        preset(3, ";", "|", "1", "", "", "", {value("A", 0), value("A", std::nullopt), value("B", 2)}, 2),
        preset(3, "/", "#", "", "START", "", "", {value("A", 0), value("B", 2, 1000.0f)}, 4),
        preset(2, ";", "|", "0", "", "", "", {value("A", 0), value("B", 1)}, 2),
        preset(4, "", "", "", "", "TT.MM.JJ", "", {value("DATUM", 2), value("A", 3)}, 2),
        preset(3, "", "", "1", "", "", "", {value("A", 2, 0.5f)}, 4),
        preset(3, "", "", "", "BEGINN", "", "", {value("A", 2), value("B", 1)}, 2),
        preset(1, "", "", "", "", "", "", {value("A", 0)}, 2),
    };
    return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QLocale locales[] = {QLocale(QLocale::German, QLocale::Germany),
                                      QLocale(QLocale::English, QLocale::UnitedStates)};
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::vector<QString> lines = MeasurementLines(bytes);
    // Read in two pieces, as the file reader reads, the lines are the same.
    MeasurementLineCutter cutter;
    const qsizetype at = size == 0 ? 0 : qsizetype(data[0] % size);
    cutter.feed(bytes.first(at));
    cutter.feed(bytes.sliced(at));
    if (cutter.finish() != lines)
        __builtin_trap();
    for (const QLocale& locale : locales) {
        SetProgramLocale(locale);
        for (const Preset& p : presets()) {
            PlainTable table(p.rows);
            const std::optional<int> start = ReadMeasurementData(p.plan, lines, table, [](const QString&) { return true; });
            if (start)
                PostProcessImport(p.plan, *start, table, [](const QString&) {});
        }
    }
    return 0;
}
