#pragma once
// Connections and recordsets on SQLite database files, with the behaviour the
// program relies on from its original data access layer: static snapshots, exact
// record counts, values converted by each column's declared type, Booleans stored
// as 0/1, case-insensitive text comparison (umlauts included), and updates that
// write only the fields assigned since the last update.
#include "FileState.h"
#include "Variant.h"
#include <QString>
#include <QStringList>
#include <deque>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// Connections keep the prepared statements of the texts with "?" placeholders (the
// program's repeated statements: its values are bound, not written into the text),
// prepared once and reused while the connection stays open. SQLite prepares one anew
// by itself when the schema changed meanwhile.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // "Provider=...; Data Source=<path>;Persist Security Info=False"; only Data Source is used.
    QString ConnectionString;
    int ConnectionTimeout = 30;   // seconds

    // Opens the existing database named in ConnectionString; never creates a file.
    // A missing or non-database file is an error.
    void Open(const QString& connectionString = {}, const QString& user = {},
              const QString& password = {}, int options = -1);
    void Close();
    bool isOpen() const { return db_ != nullptr; }
    // Closes and opens the same file again, keeping this object (after compaction).
    void Reopen();
    // Runs a statement that returns no rows.
    void Execute(const QString& sql);
    // Runs a statement with values bound to its "?" placeholders.
    void Execute(const QString& sql, const std::vector<Variant>& params);
    QString path() const { return path_; }
    // Whether its path no longer shows the file it has open (by device and inode): a
    // file was renamed over it, or it is gone, and what is written here reaches a file
    // nobody opens again. True when closed, or when another file took the path while it
    // was being opened.
    bool fileReplaced() const;
    sqlite3* handle() const;   // error 3704 when closed
    // Counts the opens of this object: a transaction begun under one session is gone
    // once the connection was closed or reopened.
    uint64_t session() const { return session_; }

    // Declared column types of a table (lower-case name -> declared type), cached.
    const std::vector<std::pair<QString, QString>>& columnsOf(const QString& table);

    // Whether a transaction is open.
    bool inTransaction() const;
    // Counts the ends of transactions (commits and rollbacks, a savepoint's too): rows
    // read inside a transaction are known to be changed by this connection alone only
    // while it lasts.
    uint64_t transactionEnds() const { return transactionEnds_; }
    // Rows inserted, updated or deleted through this connection since it was opened.
    int64_t totalChanges() const;
    // Writes values into columns of the row with the row id, converted by the columns'
    // declared types as a recordset's fields convert them (a later value for a column
    // replaces an earlier one), if the row still meets the condition (" WHERE ..." with
    // its values, as a view builds it; empty for none). False when it does not; a value
    // that does not fit its column or an unknown column is an error.
    bool UpdateRow(const QString& table, int64_t rowid, const std::vector<std::pair<QString, Variant>>& values,
                   const QString& condition, const std::vector<Variant>& conditionValues);

    // The kept statements (opaque outside the data layer's own source).
    struct StatementCache;
    StatementCache& statements() const { return *statements_; }

private:
    friend class Transaction;
    friend class Recordset;
    // Runs a statement to its end. While Transaction objects stand on this session, a
    // change is refused once their transaction has ended early, rather than written on
    // its own; a failure of the file itself ends the transaction at once, so that
    // nothing holds the file while the failure is shown.
    void run(sqlite3_stmt* stmt);
    // Raises when the transaction the Transaction objects stand in has ended early.
    void requireTransaction();
    void transactionFailed(const QString& cause, bool lasting);
    void transactionBegun() { ++transactions_; }
    void transactionDone(uint64_t session);

    sqlite3* db_ = nullptr;
    QString path_;
    std::optional<FileId> file_;   // the file open
    uint64_t session_ = 0;
    int transactions_ = 0;   // Transaction objects open in this session
    QString lost_;           // why their transaction ended early; "" while it stands
    uint64_t transactionEnds_ = 0;
    std::unique_ptr<StatementCache> statements_;
    // A deque, so that the lists handed out stay valid while others are added.
    std::deque<std::pair<QString, std::vector<std::pair<QString, QString>>>> columnCache_;
    // The texts of UpdateRow, made once for each table, columns and condition.
    struct UpdateText {
        QString table;
        std::vector<QString> columns;
        QString condition;
        QString sql;
    };
    const QString& updateText(const QString& table, const std::vector<QString>& columns, const QString& condition);
    std::deque<UpdateText> updateTexts_;
};

// One transaction on a connection: rolled back unless committed. It holds the
// connection, so that a yield inside the transaction cannot free it. Nested inside
// another transaction it is a savepoint of that one. Closing or reopening the
// connection ends it (SQLite rolls back): its commit then raises, and it never
// finishes a transaction begun on the connection after that. A failure of the file
// itself (no space, in use, read-only) ends it at once, as does SQLite when it gives up
// a transaction: the changes after that, its nested transactions and its commit raise
// TransactionLost, and nothing is written outside it.
class Transaction {
public:
    explicit Transaction(std::shared_ptr<Connection> connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Makes the changes permanent; when that fails, everything is rolled back and
    // the error raised, so no transaction is left open.
    void Commit();
    void Rollback();
    const std::shared_ptr<Connection>& connection() const { return cnn_; }

private:
    void undo() noexcept;
    bool alive() const;
    std::shared_ptr<Connection> cnn_;
    uint64_t session_ = 0;
    bool outer_ = true;
    bool done_ = false;
};

// Builds the connection string of the one recipe used everywhere.
QString JetConnectionString(const QString& path);
// Creates and opens a connection on a database file by that recipe.
std::shared_ptr<Connection> OpenDatabase(const QString& path);

class Recordset;
// What a recordset knows of its fields: names, declared types, own columns.
struct RecordsetColumns;

class Field {
public:
    const QString& Name() const { return name_; }
    Variant Value() const;
    // Converted by the column's declared type at once; a value that does not fit is an error.
    void SetValue(const Variant& v);
    Field& operator=(const Variant& v) { SetValue(v); return *this; }

private:
    friend class Recordset;
    Field(Recordset* rs, int index, QString name) : rs_(rs), index_(index), name_(std::move(name)) {}
    Recordset* rs_;
    int index_;
    QString name_;
};

class Recordset {
public:
    Recordset() = default;
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // Runs a SELECT and keeps its rows as a static snapshot.
    void Open(const QString& sql, std::shared_ptr<Connection> connection,
              int cursorType = 3, int lockType = 3, int options = -1);
    // The same with values bound to the statement's "?" placeholders.
    void Open(const QString& sql, const std::vector<Variant>& params, std::shared_ptr<Connection> connection);
    void Close();
    bool isOpen() const { return open_; }

    bool Eof() const;
    bool Bof() const;
    void MoveFirst();
    void MoveNext();
    void MoveLast();
    long RecordCount() const;

    Field& Fields(const QString& name);   // case-insensitive; unknown is error 3265
    Field& Fields(int index);
    int FieldCount() const;
    // The current row's row id in its table (0 for a read-only recordset).
    int64_t RowId() const;

    void AddNew();
    void Update();
    void Delete(int affectRecords = 1);

private:
    friend class Field;
    struct Row {
        int64_t rowid = 0;
        std::vector<Variant> values;
        bool deleted = false;
        bool unread = false;   // added: its stored values are read when first asked for
    };
    void requireOpen() const;
    Row& current();
    const Row& current() const;
    // Writes pending changes before a move.
    void writePending();
    // The first row from `from` on in direction step (1 or -1) that is not deleted;
    // past the end (the row count, or -1) when there is none. Deleted rows stay in the
    // snapshot, passed over by every move: erasing each would make deleting all rows
    // take quadratic time.
    long liveRow(long from, long step) const;
    // The stored values of one row of the table, by row id.
    std::vector<Variant> readRow(int64_t rowid);

    std::shared_ptr<Connection> conn_;
    QString table_;
    std::shared_ptr<const RecordsetColumns> columns_;
    std::vector<Field> fields_;
    std::vector<Row> rows_;
    long pos_ = 0;
    bool open_ = false;
    bool adding_ = false;
    bool editing_ = false;                // fields of the current row assigned
    std::vector<bool> assigned_;
    Row pending_;
    Row original_;                        // the current row before its assignments
};
