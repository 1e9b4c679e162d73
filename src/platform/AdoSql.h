#pragma once
// What the connection and the recordset share on the SQLite side: errors, prepared and
// kept statements, bound values, declared column types and their conversions. For the
// database layer's own sources only.
#include "Ado.h"
#include "Variant.h"
#include <QString>
#include <sqlite3.h>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

namespace ado {

// A database error with the provider-style number its message calls for.
[[noreturn]] void throwDbError(const QString& message);
// The connection's last error; a cause the result code tells (disk full, in use,
// read-only) in the program's words.
[[noreturn]] void throwDbError(sqlite3* db);

// One statement prepared from a text; a second statement in the same text is refused,
// since SQLite would skip it unseen.
sqlite3_stmt* prepareOne(sqlite3* db, const QString& sql, unsigned flags);

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

} // namespace ado

struct Connection::StatementCache {
    // More different texts than this means values written into the texts: the idle
    // statements are then let go rather than kept without end.
    static constexpr std::size_t Capacity = 256;
    std::unordered_map<QString, std::shared_ptr<ado::KeptStatement>> kept;

    static bool keeps(const QString& sql) { return sql.contains(QLatin1Char('?')); }
    // The idle kept statement of a text, marked in use; null when there is none.
    std::shared_ptr<ado::KeptStatement> borrow(const QString& sql)
    {
        const auto it = kept.find(sql);
        if (it == kept.end() || it->second->inUse)
            return nullptr;
        it->second->inUse = true;
        return it->second;
    }
    // Keeps a freshly prepared statement (unless the text has one, in use meanwhile)
    // and lends it out.
    std::shared_ptr<ado::KeptStatement> keep(const QString& sql, sqlite3_stmt* stmt, ado::RecordsetPlan plan = {})
    {
        auto fresh = std::make_shared<ado::KeptStatement>(stmt, std::move(plan));
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

namespace ado {

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

void bindValue(sqlite3* db, sqlite3_stmt* stmt, int index, const Variant& v);
void bindAll(sqlite3* db, sqlite3_stmt* stmt, const std::vector<Variant>& params);
void runToEnd(sqlite3* db, sqlite3_stmt* stmt);

// The kinds of declared column types.
enum class Kind { Other, Text, Integer, Long, Single, Double, Boolean, Date };
Kind kindOf(const QString& declared);

} // namespace ado

struct RecordsetColumns {
    QString table;                  // the recordset's table, "" when read only
    std::vector<QString> names;
    std::vector<ado::Kind> kinds;        // by the declared types
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

namespace ado {

// A stored value as the Variant its declared type asks for.
Variant readValue(sqlite3_stmt* stmt, int col, Kind kind);
// A value about to be written, converted to the column's declared type; a value
// that does not fit is refused here, at the assignment.
Variant convertForColumn(const Variant& v, Kind kind, const QString& column);
// Single-table SELECTs without grouping get the row id in front, so that their
// rows can be changed; "SELECT [A],[B] FROM [T] ..." -> table T.
QString updatableTable(const QString& sql);

} // namespace ado
