#include "ImportPostProcessing.h"

#include "platform/Locale.h"
#include "platform/Variant.h"
#include "platform/VbError.h"

#include <array>
#include <cmath>

namespace {

constexpr int16_t DateColumn = 4;
constexpr int16_t TimeColumn = 5;

int16_t typeOf(const ImportPlan& plan, int col)
{
    return col >= 0 && size_t(col) < plan.columnTypes.size() ? plan.columnTypes[size_t(col)] : 0;
}

// The grid's column of a type: the rightmost one, -1 when none.
int columnOfType(const ImportPlan& plan, int16_t type)
{
    for (int c = int(plan.columnTypes.size()) - 1; c >= 0; --c)
        if (plan.columnTypes[size_t(c)] == type)
            return c;
    return -1;
}

// Replaces each cell of a column in the import's rows by what change makes of it. A
// changed text is stored in a copy of its own size: a text put together keeps spare
// room, which the memory of the texts it replaces could not take, so that the
// changed cells would take new memory while the old sat unused.
void change(ImportTable& table, int col, int startRow, const std::function<QString(const QString&)>& f)
{
    for (int r = startRow; r < table.Rows(); ++r) {
        const QString cell = table.TextMatrix(r, col);
        const QString changed = f(cell);
        if (changed != cell)
            table.setTextMatrix(r, col, QString(changed.constData(), changed.size()));
    }
}

// Three two-character pieces of a text at the positions of three pattern parts, joined
// by a separator; a piece beyond the end is empty. False when a part is missing.
bool rebuild(ImportTable& table, int col, int startRow, const std::array<qsizetype, 3>& at, QChar separator)
{
    for (const qsizetype p : at)
        if (p < 0)
            return false;
    if (col >= 0)
        change(table, col, startRow, [&](const QString& cell) {
            return cell.mid(at[0], 2) + separator + cell.mid(at[1], 2) + separator + cell.mid(at[2], 2);
        });
    return true;
}

void cutPrefixAndSuffix(const ImportPlan& plan, int startRow, ImportTable& table)
{
    for (size_t m = 0; m < plan.values.size(); ++m) {
        const ImportValue& v = plan.values[m];
        change(table, plan.columns[m], startRow, [&](QString cell) {
            if (!v.PRAEFIX.isEmpty() && cell.size() > v.PRAEFIX.size())
                cell.remove(0, v.PRAEFIX.size());
            if (!v.SUFFIX.isEmpty() && cell.size() > v.SUFFIX.size())
                cell.chop(v.SUFFIX.size());
            return cell;
        });
    }
}

void rebuildDates(const ImportPlan& plan, int startRow, ImportTable& table, const ImportNotice& tell)
{
    const QString& pattern = plan.layout.DATUM;
    if (pattern.isEmpty())
        return;
    const qsizetype longYear = pattern.indexOf(QLatin1String("JJJJ"));
    const std::array<qsizetype, 3> at = {pattern.indexOf(QLatin1String("TT")), pattern.indexOf(QLatin1String("MM")),
                                         longYear >= 0 ? longYear + 2 : pattern.indexOf(QLatin1String("JJ"))};
    if (!rebuild(table, columnOfType(plan, DateColumn), startRow, at, QLatin1Char('.')))
        tell(QStringLiteral("Es wurde für diese Konfiguration ein ungültiges Datumsformat im Menü Elektronikvorgaben "
                            "eingegeben!"));
}

void rebuildTimes(const ImportPlan& plan, int startRow, ImportTable& table, const ImportNotice& tell)
{
    const QString& pattern = plan.layout.UHRZEIT;
    if (pattern.isEmpty())
        return;
    const std::array<qsizetype, 3> at = {pattern.indexOf(QLatin1String("hh")), pattern.indexOf(QLatin1String("mm")),
                                         pattern.indexOf(QLatin1String("ss"))};
    if (!rebuild(table, columnOfType(plan, TimeColumn), startRow, at, QLatin1Char(':')))
        tell(QStringLiteral("Es wurde für diese Konfiguration ein ungültiges Zeitformat im Menü Elektronikvorgaben "
                            "eingegeben!"));
}

// Every decimal sign written or replaced is the locale's, so that the refresh, the
// factor and the save read the value as the number it is.
void repairDecimalSigns(const ImportPlan& plan, int startRow, ImportTable& table)
{
    const QString own = DecimalSeparatorOf(ProgramLocale());
    const QString foreign = own == QLatin1String(",") ? QStringLiteral(".") : QStringLiteral(",");
    auto isSign = [](QChar c) { return c == QLatin1Char('.') || c == QLatin1Char(','); };
    for (int m = 0; m < plan.n; ++m)
        change(table, plan.columns[size_t(m)], startRow, [&](QString cell) {
            if (cell.size() >= 2 && cell[0] == QLatin1Char('-') && isSign(cell[1]))
                cell = QStringLiteral("-0") + own + cell.mid(2);
            if (!cell.isEmpty() && isSign(cell[0]))
                cell = QStringLiteral("0") + own + cell.mid(1);
            return cell;
        });
    for (int m = 0; m < plan.n; ++m) {
        const int col = plan.columns[size_t(m)];
        const int16_t type = typeOf(plan, col);
        if (type == DateColumn || type == TimeColumn)
            continue;
        change(table, col, startRow, [&](const QString& cell) {
            const qsizetype at = cell.indexOf(foreign);
            if (at < 0)
                return cell;
            const QString replaced = QString(cell).replace(at, 1, own);
            return IsNumeric(Variant(replaced)) ? replaced : cell;
        });
    }
}

// A cell that is no number, or whose product is none, is left as it is.
void applyFactors(const ImportPlan& plan, int startRow, ImportTable& table)
{
    for (int m = 0; m < plan.n; ++m) {
        const float factor = plan.values[size_t(m)].FAKTOR;
        if (factor == 1.0f)
            continue;
        change(table, plan.columns[size_t(m)], startRow, [&](const QString& cell) {
            const Variant text(cell);
            if (!IsNumeric(text))
                return cell;
            try {
                const float product = CSng(text) * factor;
                if (!std::isfinite(product))
                    return cell;
                return CStr(Variant(float(Round(product, 3))));
            } catch (const VbError&) {
                return cell;
            }
        });
    }
}

} // namespace

void PostProcessImport(const ImportPlan& plan, int startRow, ImportTable& table, const ImportNotice& tell)
{
    cutPrefixAndSuffix(plan, startRow, table);
    rebuildDates(plan, startRow, table, tell);
    rebuildTimes(plan, startRow, table, tell);
    repairDecimalSigns(plan, startRow, table);
    applyFactors(plan, startRow, table);
}
