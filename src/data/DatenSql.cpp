#include "DatenSql.h"
#include "platform/VbError.h"
#include <QStringList>

namespace {

QString bracketed(const QString& name)
{
    return QLatin1Char('[') + name + QLatin1Char(']');
}

bool isText(const std::optional<Variant>& v)
{
    return v && v->type() == VarType::String;
}

// " AND " when a condition has begun, else " WHERE ".
QString joiner(const QString& condition)
{
    return condition.isEmpty() ? QStringLiteral(" WHERE ") : QStringLiteral(" AND ");
}

QString idCondition(const ViewFilter& f)
{
    return bracketed(f.ESPID) + QStringLiteral(" = ") + CStr(Variant(f.ESPIDW));
}

} // namespace

QString SqlIndexValue(const std::optional<Variant>& value)
{
    // A Boolean would be written into the row as -1 but compared in SQL as True (1).
    if (!value || value->type() == VarType::Boolean || (value->type() == VarType::String && !IsNumeric(*value)))
        throw VbError(VbErr::TypeMismatch);
    return SqlNumber(*value);
}

QString ActiveRecordStatement(const ViewFilter& f)
{
    return QStringLiteral("SELECT ") + bracketed(f.ESPID) + QStringLiteral(" FROM ") + bracketed(f.ETABELLE)
        + QStringLiteral(" WHERE [AKT]=true");
}

QString DTStatement(const ViewFilter& f, const QString& SPV, const IndexArgs& idx)
{
    QString columns = bracketed(SPV);
    if (!f.ESPID.isEmpty())
        columns += QLatin1Char(',') + bracketed(f.ESPID);
    for (const QString& name : idx.SPI)
        if (!name.isEmpty())
            columns += QLatin1Char(',') + bracketed(name);
    for (const QString& key : f.ESPK)
        if (!key.isEmpty())
            columns += QLatin1Char(',') + bracketed(key);

    QString condition;
    if (!f.ESPID.isEmpty())
        condition = QStringLiteral(" WHERE ") + idCondition(f);
    for (size_t k = 0; k < idx.SPI.size(); ++k)
        if (idx.SPIW[k])
            condition += QStringLiteral(" AND ") + bracketed(idx.SPI[k]) + QLatin1Char('=') + SqlIndexValue(idx.SPIW[k]);
    if (!f.ESPK[0].isEmpty())
        condition += joiner(condition) + bracketed(f.ESPK[0]) + QStringLiteral(" =") + SqlQuoted(f.ESPKW[0]);
    if (!f.ESPK[1].isEmpty())
        condition += QStringLiteral(" AND ") + bracketed(f.ESPK[1]) + QStringLiteral(" =") + SqlQuoted(f.ESPKW[1]);
    if (!f.ESPK[2].isEmpty())
        condition += QStringLiteral("  AND ") + bracketed(f.ESPK[2]) + QStringLiteral(" =") + SqlQuoted(f.ESPKW[2]);

    QString order;
    if (!idx.SPI[0].isEmpty()) {
        order = QStringLiteral(" ORDER BY ") + bracketed(idx.SPI[0]);
        for (size_t k = 1; k < idx.SPI.size(); ++k)
            if (!idx.SPI[k].isEmpty())
                order += QLatin1Char(',') + bracketed(idx.SPI[k]);
    }
    return QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM ") + bracketed(f.ETABELLE) + condition + order;
}

int CountedIndex(const IndexArgs& idx)
{
    const bool two = !idx.SPI[1].isEmpty(), three = !idx.SPI[2].isEmpty(), four = !idx.SPI[3].isEmpty();
    if (!two && !three && !four)
        return 0;
    if (two && !three && !four)
        return 1;
    if (two && three && !four)
        return 2;
    if (two && three && four)
        return 3;
    return -1;
}

QString INDEXStatement(const ViewFilter& f, const IndexArgs& idx)
{
    const int counted = CountedIndex(idx);
    const QString column = counted < 0 ? QString() : idx.SPI[size_t(counted)];
    // The columns before the counted one select by their values.
    QString condition;
    for (int k = 0; k < counted; ++k)
        condition += joiner(condition) + bracketed(idx.SPI[size_t(k)]) + QLatin1Char('=') + SqlIndexValue(idx.SPIW[size_t(k)]);
    if (!f.ESPK[0].isEmpty()) {
        condition += joiner(condition) + bracketed(f.ESPK[0]) + QStringLiteral(" =") + SqlQuoted(f.ESPKW[0]);
        for (size_t k = 1; k < f.ESPK.size(); ++k)
            if (!f.ESPK[k].isEmpty())
                condition += QStringLiteral(" AND ") + bracketed(f.ESPK[k]) + QLatin1Char('=') + SqlQuoted(f.ESPKW[k]);
    }
    if (!f.ESPID.isEmpty())
        condition += joiner(condition) + idCondition(f);
    return QStringLiteral("SELECT ") + bracketed(column) + QStringLiteral(" FROM ") + f.ETABELLE + condition
        + QStringLiteral(" ORDER BY ") + bracketed(column);
}

QString ListStatement(const ViewFilter& f, const QString& column, bool AKT)
{
    const QString head = QStringLiteral("SELECT ") + bracketed(column) + QStringLiteral(" FROM ") + bracketed(f.ETABELLE);
    if (AKT)
        return head + QStringLiteral(" WHERE [AKT]=true and ") + bracketed(f.ESPID) + QStringLiteral("<>0 ORDER BY ")
            + bracketed(f.ESPID);
    return head + QStringLiteral(" WHERE ") + bracketed(f.ESPID) + QStringLiteral("<>0 ORDER BY [KEN]");
}

void NormaliseOperators(std::array<Criterion, 4>& criteria)
{
    static const QStringList comparisons{QStringLiteral("<"), QStringLiteral(">"), QStringLiteral("<="),
                                         QStringLiteral(">="), QStringLiteral("<>")};
    for (Criterion& c : criteria) {
        if (isText(c.SPFW)) {
            if (c.SPO != QLatin1String("LIKE"))
                c.SPO = QStringLiteral("=");
        } else if (!comparisons.contains(c.SPO)) {
            c.SPO = QStringLiteral("=");
        }
    }
}

QString IDKRITStatement(const QString& ETABELLE, const std::array<Criterion, 4>& criteria)
{
    QString columns = QStringLiteral("[ID]");
    QString condition;
    QString order;
    for (const Criterion& c : criteria) {
        if (!c.SPF.isEmpty()) {
            columns += QLatin1Char(',') + bracketed(c.SPF);
            order += (order.isEmpty() ? QStringLiteral(" ORDER BY ") : QStringLiteral(",")) + bracketed(c.SPF);
        }
        if (!c.SPFW)
            continue;
        QString part;
        if (isText(c.SPFW)) {
            const QString wrapper = c.SPO == QLatin1String("LIKE") ? QStringLiteral("%") : QString();
            part = SqlQuoted(wrapper + c.SPFW->asString() + wrapper);
        } else {
            part = SqlNumber(*c.SPFW);
        }
        // A later criterion may be the first with a value: it opens the condition.
        condition += joiner(condition) + bracketed(c.SPF) + c.SPO + part;
    }
    return QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM ") + bracketed(ETABELLE) + condition + order;
}
