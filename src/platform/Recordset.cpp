#include "Ado.h"
#include "AdoSql.h"
#include "VbError.h"
#include <QRegularExpression>
#include <sqlite3.h>
#include <optional>

using namespace ado;

namespace {
const char* const RowIdColumn = "__rid";
} // namespace

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
