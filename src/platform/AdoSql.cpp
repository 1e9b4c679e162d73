#include "AdoSql.h"
#include "DbError.h"
#include "VbError.h"
#include <QRegularExpression>
#include <charconv>

namespace ado {

[[noreturn]] void throwDbError(const QString& message)
{
    int32_t number = VbErr::DbGeneral;
    if (message.contains(QLatin1String("no such column")))
        number = VbErr::DbUnknownColumn;
    else if (message.contains(QLatin1String("no such table")))
        number = VbErr::DbUnknownTable;
    else if (message.contains(QLatin1String("syntax error")) || message.contains(QLatin1String("incomplete input"))
             || message.contains(QLatin1String("unrecognized token")))
        number = VbErr::DbSyntax;
    throw VbError(number, message);
}

[[noreturn]] void throwDbError(sqlite3* db)
{
    // A cause the result code tells (disk full, in use, read-only) in the program's words.
    if (!KnownDatabaseCause(sqlite3_extended_errcode(db), sqlite3_system_errno(db)).isEmpty())
        throw DatabaseError(db);
    throwDbError(QString::fromUtf8(sqlite3_errmsg(db)));
}

sqlite3_stmt* prepareOne(sqlite3* db, const QString& sql, unsigned flags)
{
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v3(db, text.constData(), int(text.size()), flags, &stmt, &tail) != SQLITE_OK)
        throwDbError(db);
    const QByteArray rest = QByteArray(tail).trimmed();
    if (!rest.isEmpty() && rest != ";") {
        sqlite3_finalize(stmt);
        throw VbError(VbErr::DbSyntax, QStringLiteral("Zeichen nach dem Ende der SQL-Anweisung gefunden."));
    }
    return stmt;
}

namespace {

// A Single stored as the shortest decimal that reads back as the same Single, so
// that the file holds 0.1 and not 0.100000001490116.
double storedSingle(float f)
{
    // Both conversions are independent of the C locale.
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, f).ptr;
    double d = f;
    std::from_chars(buffer, end, d);
    return d;
}

} // namespace

void bindValue(sqlite3* db, sqlite3_stmt* stmt, int index, const Variant& v)
{
    int rc = SQLITE_OK;
    switch (v.type()) {
    case VarType::Empty:
    case VarType::Null: rc = sqlite3_bind_null(stmt, index); break;
    case VarType::Integer: rc = sqlite3_bind_int64(stmt, index, v.asInteger()); break;
    case VarType::Long: rc = sqlite3_bind_int64(stmt, index, v.asLong()); break;
    case VarType::Single: rc = sqlite3_bind_double(stmt, index, storedSingle(v.asSingle())); break;
    case VarType::Double: rc = sqlite3_bind_double(stmt, index, v.asDouble()); break;
    case VarType::Date: rc = sqlite3_bind_double(stmt, index, v.asDate().days); break;
    case VarType::Boolean: rc = sqlite3_bind_int(stmt, index, v.asBoolean() ? 1 : 0); break;
    case VarType::String: {
        const QByteArray text = v.asString().toUtf8();
        rc = sqlite3_bind_text(stmt, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        break;
    }
    }
    if (rc != SQLITE_OK)
        throwDbError(db);
}

void bindAll(sqlite3* db, sqlite3_stmt* stmt, const std::vector<Variant>& params)
{
    for (size_t i = 0; i < params.size(); ++i)
        bindValue(db, stmt, int(i) + 1, params[i]);
}

void runToEnd(sqlite3* db, sqlite3_stmt* stmt)
{
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        throwDbError(db);
}

Kind kindOf(const QString& declared)
{
    const QString t = declared.toUpper();
    if (t.isEmpty())
        return Kind::Other;
    if (t.contains(QLatin1String("BOOL")) || t == QLatin1String("BIT"))
        return Kind::Boolean;
    if (t.contains(QLatin1String("SMALLINT")))
        return Kind::Integer;
    if (t.contains(QLatin1String("INT")) || t == QLatin1String("LONG"))
        return Kind::Long;
    if (t.contains(QLatin1String("SINGLE")))
        return Kind::Single;
    if (t.contains(QLatin1String("DOUBLE")) || t.contains(QLatin1String("REAL")) || t.contains(QLatin1String("FLOAT")))
        return Kind::Double;
    if (t.contains(QLatin1String("DATE")) || t.contains(QLatin1String("TIME")))
        return Kind::Date;
    if (t.contains(QLatin1String("TEXT")) || t.contains(QLatin1String("CHAR")))
        return Kind::Text;
    return Kind::Other;
}

Variant readValue(sqlite3_stmt* stmt, int col, Kind kind)
{
    const int storage = sqlite3_column_type(stmt, col);
    if (storage == SQLITE_NULL)
        return Variant::Null();
    if (storage == SQLITE_TEXT || storage == SQLITE_BLOB) {
        const QString text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, col)),
                                               sqlite3_column_bytes(stmt, col));
        return Variant(text);
    }
    const sqlite3_int64 whole = sqlite3_column_int64(stmt, col);
    const double real = sqlite3_column_double(stmt, col);
    switch (kind) {
    case Kind::Boolean: return Variant(real != 0.0);
    case Kind::Single: return Variant(float(real));
    case Kind::Double: return Variant(real);
    case Kind::Date: return Variant(VbDate{real});
    case Kind::Integer:
        if (storage == SQLITE_INTEGER && whole >= INT16_MIN && whole <= INT16_MAX)
            return Variant(int16_t(whole));
        break;
    case Kind::Long:
        if (storage == SQLITE_INTEGER && whole >= INT32_MIN && whole <= INT32_MAX)
            return Variant(int32_t(whole));
        break;
    case Kind::Text: return Variant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, col))));
    case Kind::Other: break;
    }
    // Undeclared (expressions) or a stored value outside its declared type: by storage.
    if (storage == SQLITE_INTEGER && whole >= INT32_MIN && whole <= INT32_MAX)
        return Variant(int32_t(whole));
    return Variant(real);
}

Variant convertForColumn(const Variant& v, Kind kind, const QString& column)
{
    // No text is no value; in a column of numbers, dates or truth values blanks are none either.
    const bool noText = v.type() == VarType::String
                        && (kind == Kind::Text ? v.asString().isEmpty() : Trim(v.asString()).isEmpty());
    if (v.isNull() || v.isEmpty() || noText) {
        if (kind == Kind::Boolean && v.isEmpty())
            return Variant(false);
        return Variant::Null();
    }
    try {
        switch (kind) {
        case Kind::Boolean: return Variant(CBool(v));
        case Kind::Integer: return Variant(CInt(v));
        case Kind::Long: return Variant(CLng(v));
        case Kind::Single: return Variant(CSng(v));
        case Kind::Double: return Variant(CDbl(v));
        case Kind::Date: return Variant(CDate(v));
        case Kind::Text: return Variant(CStr(v));
        case Kind::Other: return v;
        }
    } catch (const VbError& e) {
        throw VbError(VbErr::DbConversion,
                      QStringLiteral("Der Wert passt nicht zum Typ der Spalte [%1]: %2").arg(column, e.text()));
    }
    return v;
}

QString updatableTable(const QString& sql)
{
    static const QRegularExpression simple(
        QStringLiteral(R"(^\s*SELECT\s+(?!DISTINCT\b)([^()]*?)\s*\bFROM\s*(?:\[([^\]]+)\]|([A-Za-z_][A-Za-z0-9_]*))\s*(.*)$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression notSimple(QStringLiteral(R"(\b(JOIN|GROUP\s+BY|UNION|INTERSECT|EXCEPT)\b|^\s*,)"),
                                              QRegularExpression::CaseInsensitiveOption);
    const auto m = simple.match(sql);
    if (!m.hasMatch() || notSimple.match(m.captured(4)).hasMatch())
        return {};
    return m.captured(2).isEmpty() ? m.captured(3) : m.captured(2);
}

} // namespace ado
