#include "Ado.h"
#include "DbError.h"
#include "Locale.h"
#include "SqlTextFunctions.h"
#include "VbError.h"
#include <QFileInfo>
#include <QRegularExpression>
#include <sqlite3.h>
#include <algorithm>
#include <charconv>
#include <map>
#include <optional>
#include <unordered_map>

namespace {

// ---------------------------------------------------------------- errors

// A database error with the provider-style number its message calls for.
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

// ---------------------------------------------------------------- statements

// One statement prepared from a text; a second statement in the same text is refused,
// since SQLite would skip it unseen.
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

// How a recordset's text runs: the table its rows can be changed in ("" when none),
// whose row id was put in front of the columns.
struct RecordsetPlan {
    QString table;
    int first = 0;   // 1 when the row id is column 0
};

// A kept statement; finalized when the cache and every borrower have let it go.
struct KeptStatement {
    sqlite3_stmt* stmt = nullptr;
    bool inUse = false;
    RecordsetPlan plan;   // kept for a recordset's text
    // The columns as a recordset read them, valid while SQLite has not prepared the
    // statement anew (after a change of the schema).
    std::shared_ptr<const RecordsetColumns> columns;
    int columnsPrepared = -1;

    explicit KeptStatement(sqlite3_stmt* s, RecordsetPlan p = {}) : stmt(s), plan(std::move(p)) {}
    ~KeptStatement() { sqlite3_finalize(stmt); }
    KeptStatement(const KeptStatement&) = delete;
    KeptStatement& operator=(const KeptStatement&) = delete;
};

} // namespace

struct Connection::StatementCache {
    // More different texts than this means values written into the texts: the idle
    // statements are then let go rather than kept without end.
    static constexpr std::size_t Capacity = 256;
    std::unordered_map<QString, std::shared_ptr<KeptStatement>> kept;

    static bool keeps(const QString& sql) { return sql.contains(QLatin1Char('?')); }
    // The idle kept statement of a text, marked in use; null when there is none.
    std::shared_ptr<KeptStatement> borrow(const QString& sql)
    {
        const auto it = kept.find(sql);
        if (it == kept.end() || it->second->inUse)
            return nullptr;
        it->second->inUse = true;
        return it->second;
    }
    // Keeps a freshly prepared statement (unless the text has one, in use meanwhile)
    // and lends it out.
    std::shared_ptr<KeptStatement> keep(const QString& sql, sqlite3_stmt* stmt, RecordsetPlan plan = {})
    {
        auto fresh = std::make_shared<KeptStatement>(stmt, std::move(plan));
        fresh->inUse = true;
        if (!kept.contains(sql)) {
            if (kept.size() >= Capacity)
                std::erase_if(kept, [](const auto& entry) { return !entry.second->inUse; });
            kept.emplace(sql, fresh);
        }
        return fresh;
    }
    void clear() { kept.clear(); }
};

namespace {

// A statement for one use: a kept one, borrowed and reset when it goes back, or one of
// its own for texts without placeholders.
struct Statement {
    sqlite3_stmt* stmt = nullptr;
    std::shared_ptr<KeptStatement> kept;

    // Prepared on a bare handle, never kept (opening checks).
    Statement(sqlite3* db, const QString& sql) : stmt(prepareOne(db, sql, 0)) {}
    explicit Statement(std::shared_ptr<KeptStatement> k) : stmt(k->stmt), kept(std::move(k)) {}
    explicit Statement(sqlite3_stmt* own) : stmt(own) {}
    Statement(Connection& cnn, const QString& sql)
    {
        Connection::StatementCache& cache = cnn.statements();
        if (!Connection::StatementCache::keeps(sql)) {
            stmt = prepareOne(cnn.handle(), sql, 0);
            return;
        }
        kept = cache.borrow(sql);
        if (!kept)
            kept = cache.keep(sql, prepareOne(cnn.handle(), sql, SQLITE_PREPARE_PERSISTENT));
        stmt = kept->stmt;
    }
    ~Statement()
    {
        if (!kept) {
            sqlite3_finalize(stmt);
            return;
        }
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
        kept->inUse = false;
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
};

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

// ---------------------------------------------------------------- declared types

enum class Kind { Other, Text, Integer, Long, Single, Double, Boolean, Date };

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

} // namespace

struct RecordsetColumns {
    QString table;                  // the recordset's table, "" when read only
    std::vector<QString> names;
    std::vector<Kind> kinds;        // by the declared types
    std::vector<QString> origins;   // the field's column in the table, "" when none

    // The texts of an insert or update of the assigned fields, and of reading an
    // added row back; made once per shape, since every write of a view asks again.
    const QString& writeText(bool insert, const std::vector<bool>& assigned) const
    {
        QString& text = writes[{insert, assigned}];
        if (text.isEmpty())
            text = makeWriteText(insert, assigned);
        return text;
    }
    const QString& readBackText() const
    {
        if (readBack.isEmpty()) {
            QStringList select;
            for (const QString& column : origins)
                select << (column.isEmpty() ? QStringLiteral("NULL") : QLatin1Char('[') + column + QLatin1Char(']'));
            readBack = QStringLiteral("SELECT %1 FROM [%2] WHERE rowid=?").arg(select.join(QLatin1Char(',')), table);
        }
        return readBack;
    }

private:
    QString makeWriteText(bool insert, const std::vector<bool>& assigned) const
    {
        QStringList columns;
        for (std::size_t i = 0; i < origins.size(); ++i)
            if (assigned[i])
                columns << QLatin1Char('[') + origins[i] + QLatin1Char(']');
        const QString target = QLatin1Char('[') + table + QLatin1Char(']');
        if (!insert)
            return QStringLiteral("UPDATE %1 SET %2=? WHERE rowid=?").arg(target, columns.join(QStringLiteral("=?,")));
        if (columns.isEmpty())
            return QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(target);
        return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(target, columns.join(QLatin1Char(',')), QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(',')));
    }

    mutable std::map<std::pair<bool, std::vector<bool>>, QString> writes;
    mutable QString readBack;
};

namespace {

// A stored value as the Variant its declared type asks for.
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

// A value about to be written, converted to the column's declared type; a value
// that does not fit is refused here, at the assignment.
Variant convertForColumn(const Variant& v, Kind kind, const QString& column)
{
    if (v.isNull() || v.isEmpty() || (v.type() == VarType::String && v.asString().isEmpty())) {
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

// Single-table SELECTs without grouping get the row id in front, so that their
// rows can be changed; "SELECT [A],[B] FROM [T] ..." -> table T.
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

const char* const RowIdColumn = "__rid";

} // namespace

// ==================================================================== Connection

Connection::Connection() : statements_(std::make_unique<StatementCache>()) {}

Connection::~Connection()
{
    statements_->clear();
    if (db_)
        sqlite3_close_v2(db_);
}

void Connection::Open(const QString& connectionString, const QString&, const QString&, int)
{
    if (!connectionString.isEmpty())
        ConnectionString = connectionString;
    if (db_)
        throw VbError(VbErr::DbGeneral, QStringLiteral("Die Verbindung ist bereits geöffnet."));
    static const QRegularExpression source(QStringLiteral(R"(Data Source\s*=\s*([^;]*))"),
                                           QRegularExpression::CaseInsensitiveOption);
    const auto m = source.match(ConnectionString);
    const QString file = m.hasMatch() ? m.captured(1).trimmed() : QString();
    if (file.isEmpty())
        throw VbError(VbErr::DbGeneral, QStringLiteral("Keine Datenquelle in der Verbindungszeichenfolge."));
    // SQLite would take an empty file for an empty database; the program never
    // creates one, so an empty file is no database either.
    const QFileInfo info(file);
    if (info.isFile() && info.size() == 0)
        throw VbError(VbErr::DbGeneral, QStringLiteral("'%1' ist keine gültige Datenbank.").arg(file));

    // Each connection is used by the one thread that opened it, so SQLite need not lock
    // it on every call; nor count its memory (which takes a global lock per allocation).
    static const bool configured = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;
    (void)configured;
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    try {
        if (rc != SQLITE_OK)
            throw DatabaseError(db, QStringLiteral("'%1'").arg(file));
        sqlite3_busy_timeout(db, ConnectionTimeout * 1000);
        if (RegisterTextFunctions(db) != SQLITE_OK)
            throwDbError(db);
        sqlite3_commit_hook(db, [](void* self) { ++static_cast<Connection*>(self)->transactionEnds_; return 0; }, this);
        sqlite3_rollback_hook(db, [](void* self) { ++static_cast<Connection*>(self)->transactionEnds_; }, this);
        // A file that is no database fails here rather than at the first query.
        Statement probe(db, QStringLiteral("SELECT count(*) FROM sqlite_master"));
        runToEnd(db, probe.stmt);
    } catch (...) {
        sqlite3_close_v2(db);
        throw;
    }
    db_ = db;
    path_ = file;
    ++session_;
    transactions_ = 0;
    lost_.clear();
    columnCache_.clear();
}

void Connection::Close()
{
    if (!db_)
        throw VbError(VbErr::ObjectClosed);
    // Kept statements go first; one still borrowed holds the handle until it is let go.
    statements_->clear();
    sqlite3_close_v2(db_);
    db_ = nullptr;
    columnCache_.clear();
}

void Connection::Reopen()
{
    if (db_)
        Close();
    Open();
}

sqlite3* Connection::handle() const
{
    if (!db_)
        throw VbError(VbErr::ObjectClosed);
    return db_;
}

void Connection::Execute(const QString& sql)
{
    Execute(sql, {});
}

void Connection::Execute(const QString& sql, const std::vector<Variant>& params)
{
    sqlite3* db = handle();
    Statement st(*this, sql);
    bindAll(db, st.stmt, params);
    run(st.stmt);
}

void Connection::run(sqlite3_stmt* stmt)
{
    sqlite3* db = handle();
    // Statements that end or mark transactions count as read-only: they always run.
    const bool changes = sqlite3_stmt_readonly(stmt) == 0;
    if (changes)
        requireTransaction();
    try {
        runToEnd(db, stmt);
    } catch (const DatabaseFailure& e) {
        if (changes)
            transactionFailed(e.text(), e.lasting());
        throw;
    } catch (const VbError& e) {
        if (changes)
            transactionFailed(e.text(), false);
        throw;
    }
}

void Connection::requireTransaction()
{
    if (transactions_ == 0)
        return;
    if (lost_.isEmpty() && sqlite3_get_autocommit(handle()) != 0)
        lost_ = ProgramText("The transaction has ended early.", "Die Transaktion wurde vorzeitig beendet.");
    if (!lost_.isEmpty())
        throw TransactionLost(lost_);
}

void Connection::transactionFailed(const QString& cause, bool lasting)
{
    if (transactions_ == 0 || !lost_.isEmpty())
        return;
    const bool ended = sqlite3_get_autocommit(db_) != 0;   // SQLite gave the transaction up
    if (!ended && !lasting)
        return;   // only the statement was undone: the transaction goes on
    if (!ended)
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    lost_ = ProgramText("The changes were taken back: ", "Die Änderungen wurden zurückgenommen: ") + cause;
}

void Connection::transactionDone(uint64_t session)
{
    if (session != session_ || !db_)
        return;   // begun on a session that has ended since
    if (--transactions_ == 0)
        lost_.clear();
}

const std::vector<std::pair<QString, QString>>& Connection::columnsOf(const QString& table)
{
    for (const auto& entry : columnCache_)
        if (entry.first.compare(table, Qt::CaseInsensitive) == 0)
            return entry.second;
    const QString key = table.toLower();
    sqlite3* db = handle();
    Statement st(*this, QStringLiteral("SELECT name, type FROM pragma_table_info(?)"));
    bindValue(db, st.stmt, 1, Variant(table));
    std::vector<std::pair<QString, QString>> columns;
    int rc;
    while ((rc = sqlite3_step(st.stmt)) == SQLITE_ROW)
        columns.emplace_back(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.stmt, 0))).toLower(),
                             QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.stmt, 1))));
    if (rc != SQLITE_DONE)
        throwDbError(db);
    if (columns.empty())
        throwDbError(QStringLiteral("no such table: %1").arg(table));
    columnCache_.emplace_back(key, std::move(columns));
    return columnCache_.back().second;
}

bool Connection::inTransaction() const
{
    return sqlite3_get_autocommit(handle()) == 0;
}

int64_t Connection::totalChanges() const
{
    return sqlite3_total_changes64(handle());
}

bool Connection::UpdateRow(const QString& table, int64_t rowid, const std::vector<std::pair<QString, Variant>>& values,
                           const QString& condition, const std::vector<Variant>& conditionValues)
{
    const auto& columns = columnsOf(table);
    std::vector<QString> names;   // the columns as first named
    std::vector<Variant> params;
    for (const auto& [name, value] : values) {
        const auto column = std::find_if(columns.begin(), columns.end(), [&](const auto& c) {
            return c.first.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (column == columns.end())
            throw VbError(VbErr::ItemNotFound);
        Variant converted = convertForColumn(value, kindOf(column->second), name);
        const auto same = std::find(names.begin(), names.end(), column->first);
        if (same != names.end()) {
            params[size_t(same - names.begin())] = std::move(converted);
        } else {
            names.push_back(column->first);
            params.push_back(std::move(converted));
        }
    }
    params.insert(params.end(), conditionValues.begin(), conditionValues.end());
    sqlite3* db = handle();
    Statement st(*this, updateText(table, names, condition));
    bindAll(db, st.stmt, params);
    if (sqlite3_bind_int64(st.stmt, int(params.size()) + 1, rowid) != SQLITE_OK)
        throwDbError(db);
    run(st.stmt);
    return sqlite3_changes(db) > 0;
}

const QString& Connection::updateText(const QString& table, const std::vector<QString>& columns,
                                      const QString& condition)
{
    for (const UpdateText& u : updateTexts_)
        if (u.table == table && u.columns == columns && u.condition == condition)
            return u.sql;
    QStringList set;
    for (const QString& column : columns)
        set << QLatin1Char('[') + column + QStringLiteral("]=?");
    const QString sql = QStringLiteral("UPDATE [%1] SET %2%3%4rowid=?")
                            .arg(table, set.join(QLatin1Char(',')), condition,
                                 condition.isEmpty() ? QStringLiteral(" WHERE ") : QStringLiteral(" AND "));
    constexpr std::size_t Kept = 16;
    if (updateTexts_.size() == Kept)
        updateTexts_.pop_front();
    updateTexts_.push_back({table, columns, condition, sql});
    return updateTexts_.back().sql;
}

namespace {
const QString kSavepoint = QStringLiteral("tremol_nested");
}

Transaction::Transaction(std::shared_ptr<Connection> connection)
    : cnn_(std::move(connection)), session_(cnn_->session())
{
    // A transaction that ended early takes no further part of its work.
    cnn_->requireTransaction();
    outer_ = sqlite3_get_autocommit(cnn_->handle()) != 0;
    cnn_->Execute(outer_ ? QStringLiteral("BEGIN") : QStringLiteral("SAVEPOINT ") + kSavepoint);
    cnn_->transactionBegun();
}

bool Transaction::alive() const
{
    return cnn_->isOpen() && cnn_->session() == session_ && cnn_->lost_.isEmpty()
           && sqlite3_get_autocommit(cnn_->handle()) == 0;
}

Transaction::~Transaction()
{
    if (!done_)
        undo();
}

void Transaction::Commit()
{
    if (done_)
        return;
    try {
        if (!cnn_->isOpen() || cnn_->session() != session_)
            throw VbError(VbErr::DbGeneral,
                          QStringLiteral("Die Transaktion ist verloren: die Datenbank wurde inzwischen geschlossen."));
        cnn_->requireTransaction();
        cnn_->Execute(outer_ ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE ") + kSavepoint);
    } catch (...) {
        undo();
        throw;
    }
    done_ = true;
    cnn_->transactionDone(session_);
}

void Transaction::Rollback()
{
    if (!done_)
        undo();
}

void Transaction::undo() noexcept
{
    done_ = true;
    // A connection closed or reopened meanwhile, or a transaction ended early, has
    // nothing left to take back.
    const bool live = alive();
    cnn_->transactionDone(session_);
    if (!live)
        return;
    try {
        if (outer_) {
            cnn_->Execute(QStringLiteral("ROLLBACK"));
        } else {
            cnn_->Execute(QStringLiteral("ROLLBACK TO ") + kSavepoint);
            cnn_->Execute(QStringLiteral("RELEASE ") + kSavepoint);
            ++cnn_->transactionEnds_;   // no hook tells of a savepoint's rollback
        }
    } catch (const VbError& e) {
        // Called from destructors, so it cannot raise; SQLite rolls back a transaction
        // it could not finish when the connection closes.
        qWarning("Rollback failed: %s", qPrintable(e.text()));
    }
}

QString JetConnectionString(const QString& path)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; Data Source=") + path
           + QStringLiteral(";Persist Security Info=False");
}

std::shared_ptr<Connection> OpenDatabase(const QString& path)
{
    auto cnn = std::make_shared<Connection>();
    cnn->ConnectionString = JetConnectionString(path);
    cnn->ConnectionTimeout = 30;
    cnn->Open(QString(), QString(), QString(), -1);
    return cnn;
}

// ==================================================================== Field

Variant Field::Value() const
{
    return rs_->current().values[size_t(index_)];
}

void Field::SetValue(const Variant& v)
{
    Recordset::Row& row = rs_->current();
    const QString& column = rs_->columns_->origins[size_t(index_)];
    if (rs_->table_.isEmpty() || column.isEmpty())
        throw VbError(VbErr::DbGeneral, QStringLiteral("Das Feld [%1] kann nicht geändert werden.").arg(name_));
    const Variant converted = convertForColumn(v, rs_->columns_->kinds[size_t(index_)], column);
    if (!rs_->adding_ && !rs_->editing_) {
        rs_->original_ = row;
        rs_->editing_ = true;
    }
    row.values[size_t(index_)] = converted;
    rs_->assigned_[size_t(index_)] = true;
}

// ==================================================================== Recordset

void Recordset::requireOpen() const
{
    if (!open_)
        throw VbError(VbErr::ObjectClosed);
}

Recordset::Row& Recordset::current()
{
    requireOpen();
    if (adding_)
        return pending_;
    if (pos_ < 0 || pos_ >= long(rows_.size()) || rows_[size_t(pos_)].deleted)
        throw VbError(VbErr::NoCurrentRecord);
    Row& row = rows_[size_t(pos_)];
    if (row.unread) {
        row.values = readRow(row.rowid);
        row.unread = false;
    }
    return row;
}

const Recordset::Row& Recordset::current() const
{
    return const_cast<Recordset*>(this)->current();
}

void Recordset::Open(const QString& sql, std::shared_ptr<Connection> connection, int, int, int)
{
    Open(sql, {}, std::move(connection));
}

namespace {

std::shared_ptr<const RecordsetColumns> columnsOf(sqlite3_stmt* stmt, int first, int count, const QString& table)
{
    auto columns = std::make_shared<RecordsetColumns>();
    columns->table = table;
    for (int c = first; c < count; ++c) {
        columns->names.push_back(QString::fromUtf8(sqlite3_column_name(stmt, c)));
        const char* decl = sqlite3_column_decltype(stmt, c);
        columns->kinds.push_back(kindOf(decl ? QString::fromUtf8(decl) : QString()));
        const char* origin = sqlite3_column_origin_name(stmt, c);
        const char* originTable = sqlite3_column_table_name(stmt, c);
        const bool own = origin && originTable && QString::fromUtf8(originTable).compare(table, Qt::CaseInsensitive) == 0;
        columns->origins.push_back(own ? QString::fromUtf8(origin) : QString());
    }
    return columns;
}

// Prepares a recordset's text: with the row id in front where it reads a plain table,
// so that its rows can be changed.
sqlite3_stmt* prepareRecordset(sqlite3* db, const QString& sql, unsigned flags, RecordsetPlan& plan)
{
    plan = RecordsetPlan{updatableTable(sql), 0};
    if (!plan.table.isEmpty()) {
        static const QRegularExpression select(QStringLiteral(R"(^\s*SELECT\s+)"),
                                               QRegularExpression::CaseInsensitiveOption);
        QString withRowId = sql;
        withRowId.replace(select, QStringLiteral("SELECT rowid AS %1, ").arg(QLatin1String(RowIdColumn)));
        try {
            sqlite3_stmt* stmt = prepareOne(db, withRowId, flags);
            plan.first = 1;
            return stmt;
        } catch (const VbError&) {
            // Not a plain table (a view, or a table without row ids): read only.
            plan.table.clear();
        }
    }
    return prepareOne(db, sql, flags);
}

} // namespace

void Recordset::Open(const QString& sql, const std::vector<Variant>& params, std::shared_ptr<Connection> connection)
{
    if (open_)
        Close();
    if (!connection)
        throw VbError(VbErr::ObjectNotSet);
    sqlite3* db = connection->handle();

    // A kept text brings its plan; another is planned and prepared for this once.
    std::optional<Statement> st;
    Connection::StatementCache& cache = connection->statements();
    const bool keep = Connection::StatementCache::keeps(sql);
    RecordsetPlan plan;
    if (auto borrowed = keep ? cache.borrow(sql) : nullptr) {
        plan = borrowed->plan;
        st.emplace(std::move(borrowed));
    } else {
        sqlite3_stmt* stmt = prepareRecordset(db, sql, keep ? SQLITE_PREPARE_PERSISTENT : 0, plan);
        if (keep)
            st.emplace(cache.keep(sql, stmt, plan));
        else
            st.emplace(stmt);
    }
    bindAll(db, st->stmt, params);

    // The first step comes before the columns are read: a statement prepared before a
    // change of the schema is prepared anew by it.
    int rc = sqlite3_step(st->stmt);
    const int first = plan.first;
    const int count = sqlite3_column_count(st->stmt);
    const int prepared = sqlite3_stmt_status(st->stmt, SQLITE_STMTSTATUS_REPREPARE, 0);
    std::shared_ptr<const RecordsetColumns> columns;
    if (st->kept && st->kept->columns && st->kept->columnsPrepared == prepared)
        columns = st->kept->columns;
    else
        columns = columnsOf(st->stmt, first, count, plan.table);
    if (st->kept) {
        st->kept->columns = columns;
        st->kept->columnsPrepared = prepared;
    }

    std::vector<Row> rows;
    for (; rc == SQLITE_ROW; rc = sqlite3_step(st->stmt)) {
        Row row;
        row.rowid = first ? sqlite3_column_int64(st->stmt, 0) : 0;
        row.values.reserve(std::size_t(count - first));
        for (int c = first; c < count; ++c)
            row.values.push_back(readValue(st->stmt, c, columns->kinds[size_t(c - first)]));
        rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE)
        throwDbError(db);

    conn_ = std::move(connection);
    table_ = plan.table;
    columns_ = std::move(columns);
    rows_ = std::move(rows);
    fields_.clear();
    for (size_t i = 0; i < columns_->names.size(); ++i)
        fields_.push_back(Field(this, int(i), columns_->names[i]));
    pos_ = 0;
    open_ = true;
    adding_ = false;
    editing_ = false;
    assigned_.assign(fields_.size(), false);
}

void Recordset::Close()
{
    requireOpen();
    // Changes not confirmed by Update are dropped, as a cancelled update.
    open_ = false;
    adding_ = false;
    editing_ = false;
    rows_.clear();
    fields_.clear();
    conn_.reset();
}

bool Recordset::Eof() const
{
    requireOpen();
    return !adding_ && pos_ >= long(rows_.size());
}

bool Recordset::Bof() const
{
    requireOpen();
    return !adding_ && (pos_ < 0 || liveRow(0, 1) == long(rows_.size()));
}

void Recordset::writePending()
{
    if (adding_ || editing_)
        Update();
}

long Recordset::liveRow(long from, long step) const
{
    for (long i = from; i >= 0 && i < long(rows_.size()); i += step)
        if (!rows_[size_t(i)].deleted)
            return i;
    return step > 0 ? long(rows_.size()) : -1;
}

void Recordset::MoveFirst()
{
    requireOpen();
    writePending();
    const long first = liveRow(0, 1);
    if (first == long(rows_.size()))
        throw VbError(VbErr::NoCurrentRecord);
    pos_ = first;
}

void Recordset::MoveNext()
{
    requireOpen();
    writePending();
    if (Eof())
        throw VbError(VbErr::NoCurrentRecord);
    // From a deleted current row this is its successor, which took its place.
    pos_ = liveRow(pos_ + 1, 1);
}

void Recordset::MoveLast()
{
    requireOpen();
    writePending();
    const long last = liveRow(long(rows_.size()) - 1, -1);
    if (last < 0)
        throw VbError(VbErr::NoCurrentRecord);
    pos_ = last;
}

long Recordset::RecordCount() const
{
    requireOpen();
    long n = 0;
    for (const Row& row : rows_)
        if (!row.deleted)
            ++n;
    return n;
}

Field& Recordset::Fields(const QString& name)
{
    requireOpen();
    // Names mostly come spelt as the columns are: an exact match is looked for first.
    for (Field& f : fields_)
        if (f.Name() == name)
            return f;
    for (Field& f : fields_)
        if (f.Name().compare(name, Qt::CaseInsensitive) == 0)
            return f;
    throw VbError(VbErr::ItemNotFound);
}

Field& Recordset::Fields(int index)
{
    requireOpen();
    if (index < 0 || index >= int(fields_.size()))
        throw VbError(VbErr::ItemNotFound);
    return fields_[size_t(index)];
}

int64_t Recordset::RowId() const
{
    // Without reading the values of a row just added.
    requireOpen();
    if (adding_ || pos_ < 0 || pos_ >= long(rows_.size()) || rows_[size_t(pos_)].deleted)
        throw VbError(VbErr::NoCurrentRecord);
    return rows_[size_t(pos_)].rowid;
}

int Recordset::FieldCount() const
{
    requireOpen();
    return int(fields_.size());
}

void Recordset::AddNew()
{
    requireOpen();
    if (table_.isEmpty())
        throw VbError(VbErr::DbGeneral, QStringLiteral("Diese Datensatzgruppe kann nicht geändert werden."));
    if (adding_ || editing_)
        Update();
    pending_ = Row{};
    pending_.values.assign(fields_.size(), Variant::Null());
    assigned_.assign(fields_.size(), false);
    adding_ = true;
}

void Recordset::Update()
{
    requireOpen();
    if (!adding_ && !editing_)
        return;
    try {
        sqlite3* db = conn_->handle();
        std::vector<Variant> values;
        for (size_t i = 0; i < fields_.size(); ++i)
            if (assigned_[i])
                values.push_back(current().values[i]);
        const QString& sql = columns_->writeText(adding_, assigned_);
        if (adding_) {
            conn_->Execute(sql, values);
            pending_.rowid = sqlite3_last_insert_rowid(db);
        } else if (!values.empty()) {
            Statement st(*conn_, sql);
            bindAll(db, st.stmt, values);
            sqlite3_bind_int64(st.stmt, int(values.size()) + 1, current().rowid);
            conn_->run(st.stmt);
            if (sqlite3_changes(db) == 0)
                throw VbError(VbErr::DbGeneral, QStringLiteral("Der Datensatz ist nicht mehr vorhanden."));
        }
    } catch (...) {
        // A failed update leaves nothing pending: the row shows what is stored.
        if (editing_)
            rows_[size_t(pos_)] = original_;
        adding_ = false;
        editing_ = false;
        assigned_.assign(fields_.size(), false);
        throw;
    }
    if (adding_) {
        // The new row becomes current; the defaults the database filled in are read
        // with it when it is first asked for (most writers move on without).
        adding_ = false;
        pending_.unread = true;
        rows_.push_back(std::move(pending_));
        pos_ = long(rows_.size()) - 1;
    }
    editing_ = false;
    assigned_.assign(fields_.size(), false);
}

std::vector<Variant> Recordset::readRow(int64_t rowid)
{
    std::vector<Variant> values(fields_.size(), Variant::Null());
    sqlite3* db = conn_->handle();
    Statement st(*conn_, columns_->readBackText());
    sqlite3_bind_int64(st.stmt, 1, rowid);
    const int rc = sqlite3_step(st.stmt);
    if (rc == SQLITE_ROW) {
        for (size_t i = 0; i < fields_.size(); ++i)
            values[i] = readValue(st.stmt, int(i), columns_->kinds[i]);
    } else if (rc != SQLITE_DONE) {
        throwDbError(db);
    }
    return values;
}

void Recordset::Delete(int)
{
    requireOpen();
    if (adding_)
        throw VbError(VbErr::NoCurrentRecord);
    Row& row = current();
    if (table_.isEmpty())
        throw VbError(VbErr::DbGeneral, QStringLiteral("Diese Datensatzgruppe kann nicht geändert werden."));
    Statement st(*conn_, QStringLiteral("DELETE FROM [%1] WHERE rowid=?").arg(table_));
    sqlite3_bind_int64(st.stmt, 1, row.rowid);
    conn_->run(st.stmt);
    if (editing_) {
        editing_ = false;
        assigned_.assign(fields_.size(), false);
    }
    row.deleted = true;
}
