#include "MeasurementImport.h"

#include "platform/Variant.h"
#include "platform/VbError.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

namespace {

QString damagedCycleText(int32_t counter)
{
    return QStringLiteral("ZyklusNr. ") + CStr(Variant(counter)) + QStringLiteral(" ist beschädigt!");
}

// The cycle counter counts in 32 bits: files of more cycles than a 16-bit counter holds
// are common (a day of readings every second), and an overflow would end the import
// with raw texts in the table.
int32_t next(int32_t counter)
{
    if (counter == std::numeric_limits<int32_t>::max())
        throw VbError(VbErr::Overflow);
    return counter + 1;
}

// A whole number held by a line (blanks around it allowed), or none.
std::optional<int32_t> wholeNumberOf(const QString& line)
{
    const Variant text(Trim(line));
    if (!IsNumeric(text))
        return std::nullopt;
    const double x = CDbl(text);
    if (x != std::floor(x) || x < std::numeric_limits<int32_t>::min() || x > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return int32_t(x);
}

// Drops the first n characters of a text once they are an eighth of it or more, and
// gives their memory back: in place, so that the rest is never held twice (the text is
// held by no one else; a shared one is copied first). The characters dropped: n or none.
qsizetype dropPassed(QString& text, qsizetype n)
{
    if (n < text.size() / 8 || n == 0)
        return 0;
    QChar* data = text.data();
    std::memmove(data, data + n, size_t(text.size() - n) * sizeof(QChar));
    text.truncate(text.size() - n);
    text.squeeze();
    return n;
}

class Reader {
public:
    Reader(const ImportPlan& plan, std::vector<QString>& lines, ImportTable& table, const ImportQuestion& ask)
        : layout_(plan.layout), lines_(lines), table_(table), ask_(ask), targets_(size_t(plan.layout.ZL))
    {
        // The columns that receive position k, in ascending MNR.
        for (int m = 0; m < plan.n; ++m) {
            const std::optional<double>& p = plan.values[size_t(m)].POSITION;
            if (p && *p >= 0 && *p < layout_.ZL && *p == std::floor(*p))
                targets_[size_t(*p)].push_back(plan.columns[size_t(m)]);
        }
    }

    std::optional<int> valuePerLine();
    std::optional<int> cyclePerLine();
    std::optional<int> singleLine();

private:
    // The next line, none at the end of the file. It is taken from the file's lines: what
    // the reading has passed is given back as it goes.
    std::optional<QString> nextLine()
    {
        if (line_ >= lines_.size())
            return std::nullopt;
        return std::exchange(lines_[line_++], QString());
    }
    bool atEnd() const { return line_ >= lines_.size(); }
    // The first row of the post-processing.
    int result(int startRow) const { return wrote_ ? startRow : table_.Rows(); }
    // Writes the text of position k into a row, adding the row when it is the next one.
    void write(int row, int k, const QString& text);
    // Cuts a cycle's text into its values and writes them; false when a separator is
    // missing before the last value. The last value ends two characters before the end.
    bool cutCycle(const QString& text, int row, bool firstIgnoresCase);
    // Header cycles to skip, from KENZ1NR: a whole number, not below 0.
    int32_t headerCount() const
    {
        const std::optional<int32_t> h = wholeNumberOf(layout_.KENZ1NR);
        if (!h || *h < 0)
            throw VbError(VbErr::TypeMismatch);
        return *h;
    }
    bool isCountLine(const QString& line) const { return wholeNumberOf(line) == int32_t(layout_.ZL - 1); }
    // The count after a cycle-number line that the user chose to read on from: the
    // line's number, also one the count has passed (a repeated or backward cycle, whose
    // rows stay); a line without a number leaves the count as it was.
    static int32_t cycleNumber(const QString& line, int32_t counter) { return wholeNumberOf(line).value_or(counter); }

    const ImportLayout& layout_;
    std::vector<QString>& lines_;
    ImportTable& table_;
    const ImportQuestion& ask_;
    std::vector<std::vector<int>> targets_;   // by position: receiving columns
    size_t line_ = 0;
    bool wrote_ = false;
};

void Reader::write(int row, int k, const QString& text)
{
    // A resynchronised cycle of one line goes on at position 1, which holds no value.
    if (size_t(k) >= targets_.size() || targets_[size_t(k)].empty())
        return;
    const std::vector<int>& columns = targets_[size_t(k)];
    if (table_.Rows() == row)
        table_.setRows(row + 1);
    const QString value = Trim(text);
    for (const int col : columns)
        table_.setTextMatrix(row, col, value);
    wrote_ = true;
}

bool Reader::cutCycle(const QString& text, int row, bool firstIgnoresCase)
{
    const QString& separator = layout_.TZS;
    qsizetype start = 0;
    const int last = layout_.ZL - 1;
    for (int k = 0; k < last; ++k) {
        const Qt::CaseSensitivity cs = k == 0 && firstIgnoresCase ? Qt::CaseInsensitive : Qt::CaseSensitive;
        const qsizetype end = text.indexOf(separator, start, cs);
        if (end < 0)
            return false;
        write(row, k, text.mid(start, end - start));
        start = end + separator.size();
    }
    const qsizetype length = text.size() - start - 2;
    if (length < 0)
        throw VbError(VbErr::InvalidCall);
    write(row, last, text.mid(start, length));
    return true;
}

std::optional<int> Reader::valuePerLine()
{
    const int16_t ZL = layout_.ZL;
    int32_t counter = 0;
    int k = 0;
    if (!layout_.KENZ1NR.isEmpty()) {
        counter = headerCount();
        for (int64_t skip = int64_t(counter) * ZL; skip > 0 && nextLine(); --skip) {
        }
    } else if (!layout_.KENZ1KZ.isEmpty()) {
        // The marker line takes its place in the cycle it falls into.
        int64_t before = 0;
        for (std::optional<QString> l; (l = nextLine()) && Trim(*l) != layout_.KENZ1KZ;)
            ++before;
        if (before / ZL > std::numeric_limits<int32_t>::max())
            throw VbError(VbErr::Overflow);
        counter = int32_t(before / ZL);
        k = int(before % ZL) + 1;
    }
    const int startRow = table_.Rows() - 1;   // the last row is overwritten first
    int row = startRow;
    while (!atEnd()) {
        if (row > 1)
            k = 0;   // a cycle into row 1 keeps the position the header left
        while (k < ZL) {
            std::optional<QString> line = nextLine();
            if (!line)
                return result(startRow);
            if (k == 0 && !isCountLine(*line)) {
                const QString text = row == startRow
                    ? QStringLiteral("Elektronikvorgaben passen nicht zur Struktur der Elektronikdatei!")
                    : QStringLiteral("ZyklusNr. ") + CStr(Variant(counter - 1))
                        + QStringLiteral(" der Elektronikdatei ist beschädigt!");
                if (!ask_(text))
                    return std::nullopt;
                counter = next(counter);
                // The next good cycle takes the damaged cycle's row, but never a row above
                // the import's first: that one would keep raw, unprocessed texts.
                if (row > startRow)
                    --row;
                do {
                    line = nextLine();
                    if (!line)
                        return result(startRow);
                } while (!isCountLine(*line));
                k = 1;
                line = nextLine();
                if (!line)
                    return result(startRow);
                counter = cycleNumber(*line, counter);
            } else if (k == 1 && wholeNumberOf(*line) != counter) {
                // Missing, repeated or backward cycles alike: the user decides whether
                // the rest of the file is read.
                if (!ask_(QStringLiteral("Es fehlen ein oder mehrere Zyklen nach ZyklusNr. ") + CStr(Variant(counter - 1))
                          + QStringLiteral(" !")))
                    return std::nullopt;
                counter = cycleNumber(*line, counter);
            }
            write(row, k, *line);
            ++k;
        }
        ++row;
        counter = next(counter);
    }
    return result(startRow);
}

std::optional<int> Reader::cyclePerLine()
{
    if (!layout_.KENZ1NR.isEmpty()) {
        for (int32_t skip = headerCount(); skip > 0 && nextLine(); --skip) {
        }
    } else if (!layout_.KENZ1KZ.isEmpty()) {
        for (std::optional<QString> l; (l = nextLine()) && !l->contains(layout_.KENZ1KZ);) {
        }
    }
    int32_t counter = 0;
    const int startRow = table_.Rows() == 2 ? 1 : table_.Rows();
    int row = startRow;
    while (const std::optional<QString> line = nextLine()) {
        if (cutCycle(*line, row, false))
            ++row;
        else if (!ask_(damagedCycleText(counter)))
            return std::nullopt;
        counter = next(counter);
    }
    return result(startRow);
}

std::optional<int> Reader::singleLine()
{
    // The first line is the file's: the others are given back at once.
    QString line = lines_.empty() ? QString() : std::move(lines_.front());
    lines_ = {};
    const QString& TZZ = layout_.TZZ;
    int32_t counter = 0;
    qsizetype start = -1;   // where the first cycle begins; -1: no cycle
    if (!layout_.KENZ1NR.isEmpty()) {
        // After the h-th cycle separator; with no header the line begins with one.
        counter = headerCount();
        qsizetype at = 0;
        for (int32_t i = 0; i < counter && at >= 0; ++i)
            at = line.indexOf(TZZ, i == 0 ? 0 : at + 1);
        if (at >= 0)
            start = at + TZZ.size();
    } else if (!layout_.KENZ1KZ.isEmpty()) {
        // The character after the marker is skipped.
        const qsizetype at = line.indexOf(layout_.KENZ1KZ);
        if (at >= 0)
            start = at + layout_.KENZ1KZ.size() + 1;
    } else {
        return std::nullopt;
    }
    const int startRow = table_.Rows() == 2 ? 1 : table_.Rows();
    int row = startRow;
    // A cycle is complete only with the separator after it. The cycles cut are given back
    // as the reading goes on: the line and the table's cells are never held whole together.
    for (qsizetype end; start >= 0 && (end = line.indexOf(TZZ, start + 1)) >= 0;) {
        if (cutCycle(line.mid(start, end - start), row, true))
            ++row;
        else if (!ask_(damagedCycleText(counter)))
            return std::nullopt;
        counter = next(counter);
        start = end + TZZ.size();
        start -= dropPassed(line, start);
    }
    return result(startRow);
}

} // namespace

QString SeparatorOf(const QString& preset)
{
    if (preset == QLatin1String("<BLANK>"))
        return QStringLiteral(" ");
    if (preset == QLatin1String("<TAB>"))
        return QStringLiteral("\t");
    return preset;
}

std::optional<int> ReadMeasurementData(const ImportPlan& plan, std::vector<QString> lines, ImportTable& table,
                                       const ImportQuestion& ask)
{
    if (plan.layout.ZL < 1)
        return std::nullopt;
    try {
        Reader reader(plan, lines, table, ask);
        if (plan.layout.TZS.isEmpty())
            return reader.valuePerLine();
        if (plan.layout.TZZ.isEmpty())
            return reader.cyclePerLine();
        return reader.singleLine();
    } catch (const VbError& e) {
        // Error 7 is the table's: it cannot take the file's cycles. The caller tells it
        // and takes the rows back.
        if (e.number() == VbErr::OutOfMemory)
            throw;
        return std::nullopt;
    }
}
