#include "DatenSql.h"
#include "platform/VbError.h"
#include <QStringList>
#include <charconv>
#include <string>

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
    // Only numbers: a Boolean would be written into the row as -1 but compared in SQL
    // as True (1); a date's or an empty value's text is no number in SQL either.
    if (!value || !(value->isNumber() || (value->type() == VarType::String && IsNumeric(*value))))
        throw VbError(VbErr::TypeMismatch);
    return SqlNumber(*value);
}

Variant SqlIndexNumber(const std::optional<Variant>& value)
{
    if (value && (value->type() == VarType::Integer || value->type() == VarType::Long))
        return Variant(CLng(*value));
    // As SQLite reads the literal the text conventions write.
    const QByteArray text = SqlIndexValue(value).toLatin1();
    const char* end = text.constData() + text.size();
    int32_t whole = 0;
    if (const auto r = std::from_chars(text.constData(), end, whole); r.ec == std::errc() && r.ptr == end)
        return Variant(whole);
    double x = 0.0;
    std::from_chars(text.constData(), end, x);
    return Variant(x);
}

QString ActiveRecordStatement(const ViewFilter& f)
{
    return QStringLiteral("SELECT ") + bracketed(f.ESPID) + QStringLiteral(" FROM ") + bracketed(f.ETABELLE)
        + QStringLiteral(" WHERE [AKT]=true");
}

QString SqlStatement::literal() const
{
    // Placeholders stand outside names in brackets and outside quoted texts.
    QString out;
    out.reserve(text.size() + 16 * qsizetype(values.size()));
    std::size_t next = 0;
    QChar closing;
    for (const QChar c : text) {
        if (!closing.isNull()) {
            if (c == closing)
                closing = QChar();
        } else if (c == QLatin1Char('[')) {
            closing = QLatin1Char(']');
        } else if (c == QLatin1Char('\'')) {
            closing = QLatin1Char('\'');
        } else if (c == QLatin1Char('?') && next < values.size()) {
            const Variant& v = values[next++];
            out += v.type() == VarType::String ? SqlQuoted(v.asString()) : SqlNumber(v);
            continue;
        }
        out += c;
    }
    return out;
}

namespace {

// The values DTStatement binds: ID, given index values, key values, in that order.
std::vector<Variant> DTValues(const ViewFilter& f, const IndexArgs& idx)
{
    std::vector<Variant> values;
    values.reserve(8);
    if (!f.ESPID.isEmpty())
        values.emplace_back(f.ESPIDW);
    for (size_t k = 0; k < idx.SPI.size(); ++k)
        if (idx.SPIW[k])
            values.push_back(SqlIndexNumber(idx.SPIW[k]));
    for (size_t k = 0; k < f.ESPK.size(); ++k)
        if (!f.ESPK[k].isEmpty())
            values.emplace_back(f.ESPKW[k]);
    return values;
}

// Builds a statement text in a plain buffer, made a QString once.
class TextBuilder {
public:
    TextBuilder() { t_.reserve(256); }
    TextBuilder& operator<<(const char16_t* s)
    {
        t_ += s;
        return *this;
    }
    // A name in brackets.
    TextBuilder& name(const QString& n)
    {
        t_ += u'[';
        t_.append(reinterpret_cast<const char16_t*>(n.constData()), std::size_t(n.size()));
        t_ += u']';
        return *this;
    }
    // ",[name]" for a name that is given.
    TextBuilder& listed(const QString& n)
    {
        if (!n.isEmpty()) {
            t_ += u',';
            name(n);
        }
        return *this;
    }
    QString text() const { return QString::fromUtf16(t_.data(), qsizetype(t_.size())); }

private:
    std::u16string t_;
};

// The condition of the matched rows: " WHERE " and the ID, the given index values and
// the keys, each with a placeholder; empty when nothing selects.
void appendCondition(TextBuilder& t, const ViewFilter& f, const IndexArgs& idx)
{
    bool condition = false;
    if (!f.ESPID.isEmpty()) {
        t << u" WHERE ";
        t.name(f.ESPID) << u" = ?";
        condition = true;
    }
    for (size_t k = 0; k < idx.SPI.size(); ++k) {
        if (!idx.SPIW[k])
            continue;
        t << u" AND ";
        t.name(idx.SPI[k]) << u"=?";
        condition = true;
    }
    // The keys as the conventions join them (the third after two blanks).
    for (size_t k = 0; k < f.ESPK.size(); ++k) {
        if (f.ESPK[k].isEmpty())
            continue;
        t << (k == 0 ? (condition ? u" AND " : u" WHERE ") : (k == 1 ? u" AND " : u"  AND "));
        t.name(f.ESPK[k]) << u" =?";
        condition = true;
    }
}

QString DTText(const ViewFilter& f, const QString& SPV, const IndexArgs& idx)
{
    TextBuilder t;
    t << u"SELECT ";
    t.name(SPV);
    t.listed(f.ESPID);
    for (const QString& n : idx.SPI)
        t.listed(n);
    for (const QString& key : f.ESPK)
        t.listed(key);
    t << u" FROM ";
    t.name(f.ETABELLE);
    appendCondition(t, f, idx);
    if (!idx.SPI[0].isEmpty()) {
        t << u" ORDER BY ";
        t.name(idx.SPI[0]);
        for (size_t k = 1; k < idx.SPI.size(); ++k)
            t.listed(idx.SPI[k]);
    }
    return t.text();
}

} // namespace

SqlStatement MatchCondition(const ViewFilter& f, const IndexArgs& idx)
{
    TextBuilder t;
    appendCondition(t, f, idx);
    return {t.text(), DTValues(f, idx)};
}

SqlStatement DeleteStatement(const ViewFilter& f, const IndexArgs& idx)
{
    TextBuilder t;
    t << u"DELETE FROM ";
    t.name(f.ETABELLE);
    appendCondition(t, f, idx);
    return {t.text(), DTValues(f, idx)};
}

SqlStatement DTStatement(const ViewFilter& f, const QString& SPV, const IndexArgs& idx)
{
    std::vector<Variant> values = DTValues(f, idx);
    return {DTText(f, SPV, idx), std::move(values)};
}

bool DTStatements::sameShape(const Built& b, const ViewFilter& f, const QString& SPV, const IndexArgs& idx)
{
    if (b.SPV != SPV || b.names.ETABELLE != f.ETABELLE || b.names.ESPID != f.ESPID || b.names.ESPK != f.ESPK
        || b.idx.SPI != idx.SPI)
        return false;
    for (size_t k = 0; k < idx.SPIW.size(); ++k)
        if (b.idx.SPIW[k].has_value() != idx.SPIW[k].has_value())
            return false;
    return true;
}

SqlStatement DTStatements::operator()(const ViewFilter& f, const QString& SPV, const IndexArgs& idx)
{
    constexpr std::size_t Kept = 8;
    std::vector<Variant> values = DTValues(f, idx);
    for (auto it = recent_.rbegin(); it != recent_.rend(); ++it)
        if (sameShape(*it, f, SPV, idx))
            return {it->text, std::move(values)};
    if (recent_.size() == Kept)
        recent_.erase(recent_.begin());
    recent_.push_back({f, SPV, idx, DTText(f, SPV, idx)});
    return {recent_.back().text, std::move(values)};
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
