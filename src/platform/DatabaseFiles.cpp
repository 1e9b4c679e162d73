#include "DatabaseFiles.h"
#include "DbError.h"
#include "FileOps.h"
#include "FileState.h"
#include "Locale.h"
#include "VbError.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>
#include <optional>

namespace {

// A raw SQLite handle for the file routines, closed when it goes out of scope.
class Handle {
public:
    Handle(const QString& path, int flags, int timeoutSeconds = 30)
    {
        if (sqlite3_open_v2(path.toUtf8().constData(), &db_, flags, nullptr) != SQLITE_OK) {
            // A failed open still allocates a handle: take its message, then free it.
            const DatabaseFailure error = DatabaseError(db_, path);
            sqlite3_close_v2(db_);
            throw error;
        }
        sqlite3_busy_timeout(db_, timeoutSeconds * 1000);
    }
    ~Handle() { sqlite3_close_v2(db_); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    sqlite3* get() const { return db_; }

    void exec(const char* sql, const QString& about) const
    {
        if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            fail(about);
    }
    [[noreturn]] void fail(const QString& about) const { throw DatabaseError(db_, about); }

private:
    sqlite3* db_ = nullptr;
};

[[noreturn]] void NoDatabase(const QString& path)
{
    throw VbError(VbErr::DbGeneral, path + QStringLiteral(": ")
                                        + ProgramText("The file is no valid database.",
                                                      "Die Datei ist keine gültige Datenbank."));
}

enum class Check { TablesOnly, Full };

// The check a copy passes before it may replace anything: SQLite's full integrity check
// (every page, and every index against its table: the quick check leaves the indexes
// out, and a damaged index gives wrong answers without an error), and the tables the
// caller needs. Failures name the file the copy was made from.
void CheckSound(const QString& path, const QStringList& requiredTables, const QString& reportAs, Check check)
{
    Handle db(path, SQLITE_OPEN_READONLY);
    sqlite3_stmt* stmt = nullptr;
    // The first fault is enough to refuse the file.
    bool ok = sqlite3_prepare_v2(db.get(),
                                 check == Check::Full ? "PRAGMA integrity_check(1)" : "SELECT 'ok' FROM sqlite_master",
                                 -1, &stmt, nullptr) == SQLITE_OK;
    const int rc = ok ? sqlite3_step(stmt) : SQLITE_ERROR;
    ok = rc == SQLITE_DONE
         || (rc == SQLITE_ROW && QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))) == "ok");
    sqlite3_finalize(stmt);
    if (!ok)
        NoDatabase(reportAs);
    for (const QString& table : requiredTables) {
        stmt = nullptr;
        const QByteArray name = table.toUtf8();
        ok = sqlite3_prepare_v2(db.get(), "SELECT 1 FROM sqlite_master WHERE type='table' AND name=? COLLATE NOCASE",
                                -1, &stmt, nullptr) == SQLITE_OK
             && sqlite3_bind_text(stmt, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT) == SQLITE_OK
             && sqlite3_step(stmt) == SQLITE_ROW;
        sqlite3_finalize(stmt);
        if (!ok)
            throw VbError(VbErr::DbGeneral, reportAs + QStringLiteral(": ")
                                                + ProgramText("The database lacks the table ", "Der Datenbank fehlt die Tabelle ")
                                                + table + QLatin1Char('.'));
    }
}

QString JournalOf(const QString& path)
{
    return path + QStringLiteral("-journal");
}

void RemoveWithJournal(const QString& path)
{
    QFile::remove(path);
    QFile::remove(JournalOf(path));
}

bool EntryExists(const QString& path)
{
    const QFileInfo entry(path);
    return entry.exists() || entry.isSymLink();
}

// The file a copy replaces, held from just before the rename until the new file has
// taken its place. A journal beside it belongs to it: SQLite would roll a hot one back
// into whatever file then has the name, the new one included. So a hot journal is
// rolled back into the old file first, a write still under way there is waited for
// (as long as the timeout allows), and no journal is left beside the name. When that
// cannot be done, nothing is replaced.
class OldFileSettled {
public:
    OldFileSettled(const QString& file, int timeoutSeconds)
    {
        const QString journal = JournalOf(file);
        if (!EntryExists(journal))
            return;
        try {
            if (QFileInfo::exists(file)) {
                // Its lock for writing, taken after any hot journal is rolled back: no
                // other writer makes a journal beside it until the new file is in place.
                old_.emplace(file, SQLITE_OPEN_READWRITE, timeoutSeconds);
                old_->exec("BEGIN IMMEDIATE", file);
            }
            // What is left now is no other writer's (a journal kept after a commit, or one
            // without its database): removed, so that nothing takes it for the new file's.
            if (EntryExists(journal) && !QFile::remove(journal))
                throw VbError(VbErr::PermissionDenied, VbErrorText(VbErr::PermissionDenied));
        } catch (const VbError& e) {
            throw VbError(e.number(), journal + QStringLiteral(": ")
                                          + ProgramText("The journal of an interrupted write cannot be taken back "
                                                        "into its database and removed:\r\n",
                                                        "Das Journal eines abgebrochenen Schreibvorgangs kann nicht in "
                                                        "seine Datenbank zurückgespielt und entfernt werden:\r\n")
                                          + e.text());
        }
    }
    ~OldFileSettled()
    {
        if (old_)
            sqlite3_exec(old_->get(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
    OldFileSettled(const OldFileSettled&) = delete;
    OldFileSettled& operator=(const OldFileSettled&) = delete;

private:
    std::optional<Handle> old_;
};

} // namespace

void CopyDatabase(const QString& source, const QString& target, const CopyOptions& options,
                  const BeforeReplace& beforeReplace)
{
    RefuseNoRegularFile(source);
    RefuseNoRegularFile(target);
    const QFileInfo info(source);
    // A link to nothing: the file missing is the one it names.
    if (!info.isFile())
        throw VbError(VbErr::FileNotFound, VbErrorText(VbErr::FileNotFound) + QStringLiteral(": ")
                                               + (info.isSymLink() ? LinkedFile(source) : source));
    if (info.size() == 0)
        NoDatabase(source);
    const QString file = FileToReplace(target);
    const QString partial = NewPartial(file);
    try {
        {
            // Read-write, so that a hot journal of an interrupted write is rolled back.
            Handle from(source, SQLITE_OPEN_READWRITE, options.timeoutSeconds);
            from.exec("SELECT count(*) FROM sqlite_master", source);
            // The new file, made empty beside the target, is opened without following a
            // link and written without a journal: nothing else is made in a folder that
            // others may write, and a copy cut short is thrown away as a whole.
            Handle to(partial, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW, options.timeoutSeconds);
            to.exec("PRAGMA journal_mode=OFF", file);
            sqlite3_backup* backup = sqlite3_backup_init(to.get(), "main", from.get(), "main");
            if (!backup)
                to.fail(file);
            // One step copies everything in one transaction; a source locked by a writer
            // for longer than the timeout is reported, not waited for forever.
            sqlite3_backup_step(backup, -1);
            if (sqlite3_backup_finish(backup) != SQLITE_OK)
                to.fail(file);
        }
        CheckSound(partial, options.requiredTables, source, Check::Full);
        // On the disk before the last step, which may hold up others (a save's lock), so
        // that the sync in place is left only its permissions to write.
        SyncFile(partial);
        if (beforeReplace)
            beforeReplace(partial);
        const OldFileSettled old(file, options.timeoutSeconds);
        PutInPlace(partial, file);
    } catch (...) {
        RemoveWithJournal(partial);
        throw;
    }
}

bool IsDatabaseWithTables(const QString& path, const QStringList& requiredTables)
{
    try {
        if (QFileInfo(path).size() == 0)
            return false;
        Handle(path, SQLITE_OPEN_READWRITE).exec("SELECT count(*) FROM sqlite_master", path);
        CheckSound(path, requiredTables, path, Check::TablesOnly);
        return true;
    } catch (const VbError&) {
        return false;
    }
}

void CompactDatabase(Connection& cnn, const QString& tempPath)
{
    const QString original = cnn.path();
    if (QFileInfo::exists(tempPath) && !QFile::remove(tempPath))
        throw VbError(VbErr::PermissionDenied, VbErrorText(VbErr::PermissionDenied) + QStringLiteral(": ") + tempPath);
    try {
        cnn.Execute(QStringLiteral("VACUUM INTO ?"), {Variant(tempPath)});
        // The compacted file must pass the check before it replaces anything.
        CheckSound(tempPath, {}, tempPath, Check::Full);
        SyncFile(tempPath);
    } catch (...) {
        RemoveWithJournal(tempPath);
        throw;
    }
    cnn.Close();
    // rename() replaces the original in one step; on failure the original stays.
    try {
        PutInPlace(tempPath, original);
    } catch (...) {
        RemoveWithJournal(tempPath);
        cnn.Reopen();
        throw;
    }
    cnn.Reopen();
}

void CreateDatabase(const QString& path, const char* schemaSql)
{
    if (QFileInfo::exists(path))
        throw VbError(VbErr::DbGeneral, ProgramText("The file exists already: ", "Die Datei besteht bereits: ") + path);
    try {
        Handle db(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        db.exec("PRAGMA journal_mode=DELETE", path);
        db.exec("BEGIN", path);
        db.exec(schemaSql, path);
        db.exec("COMMIT", path);
    } catch (...) {
        QFile::remove(path);
        throw;
    }
}
