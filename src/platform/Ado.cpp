#include "Ado.h"
#include "AdoSql.h"
#include "DbError.h"
#include "Locale.h"
#include "SqlTextFunctions.h"
#include "VbError.h"
#include <QFileInfo>
#include <QRegularExpression>
#include <sqlite3.h>
#include <algorithm>

using namespace ado;

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
    // SQLite would wait on a named pipe for ever.
    RefuseNoRegularFile(file);
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
    int rc = SQLITE_OK;
    const std::optional<FileId> opened = FileOpenedBy(file, [&] {
        rc = sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    });
    try {
        if (rc != SQLITE_OK)
            throw DatabaseError(db, QStringLiteral("'%1'").arg(file));
        sqlite3_busy_timeout(db, ConnectionTimeout * 1000);
        if (RegisterTextFunctions(db) != SQLITE_OK)
            throwDbError(db);
        sqlite3_commit_hook(db, [](void* self) { ++static_cast<Connection*>(self)->transactionEnds_; return 0; }, this);
        sqlite3_rollback_hook(db, [](void* self) { ++static_cast<Connection*>(self)->transactionEnds_; }, this);
        // A file that is no database fails here rather than at the first query, and
        // the error names it.
        try {
            Statement probe(db, QStringLiteral("SELECT count(*) FROM sqlite_master"));
            runToEnd(db, probe.stmt);
        } catch (const VbError&) {
            throw DatabaseError(db, QStringLiteral("'%1'").arg(file));
        }
    } catch (...) {
        sqlite3_close_v2(db);
        throw;
    }
    db_ = db;
    path_ = file;
    file_ = opened;
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

bool Connection::fileReplaced() const
{
    return !db_ || !file_ || FileIdOf(path_) != file_;
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

// A transaction needs a connection object: none is the runtime's error 91.
std::shared_ptr<Connection> Required(std::shared_ptr<Connection> connection)
{
    if (!connection)
        throw VbError(VbErr::ObjectNotSet);
    return connection;
}
} // namespace

Transaction::Transaction(std::shared_ptr<Connection> connection)
    : cnn_(Required(std::move(connection))), session_(cnn_->session())
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
