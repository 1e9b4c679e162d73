#include "DatabaseFiles.h"
#include "VbError.h"
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>
#include <cstdio>

namespace {

// A raw SQLite handle for the file routines, closed when it goes out of scope.
class Handle {
public:
    Handle(const QString& path, int flags)
    {
        if (sqlite3_open_v2(path.toUtf8().constData(), &db_, flags, nullptr) != SQLITE_OK) {
            // A failed open still allocates a handle: take its message, then free it.
            const VbError error(VbErr::DbGeneral,
                                QStringLiteral("%1: %2").arg(path, QString::fromUtf8(sqlite3_errmsg(db_))));
            sqlite3_close_v2(db_);
            throw error;
        }
        sqlite3_busy_timeout(db_, 30000);
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
    [[noreturn]] void fail(const QString& about) const
    {
        throw VbError(VbErr::DbGeneral, QStringLiteral("%1: %2").arg(about, QString::fromUtf8(sqlite3_errmsg(db_))));
    }

private:
    sqlite3* db_ = nullptr;
};

} // namespace

void CopyDatabase(const QString& source, const QString& target)
{
    if (!QFileInfo(source).isFile())
        throw VbError(VbErr::FileNotFound, QStringLiteral("Datei nicht gefunden: %1").arg(source));
    Handle from(source, SQLITE_OPEN_READONLY);
    from.exec("SELECT count(*) FROM sqlite_master", source);
    Handle to(target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    sqlite3_backup* backup = sqlite3_backup_init(to.get(), "main", from.get(), "main");
    if (!backup)
        to.fail(target);
    // One step copies everything in one transaction on the target; a source locked
    // by a writer for longer than the busy timeout is reported, not waited for forever.
    const int rc = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        throw VbError(VbErr::DbGeneral, QStringLiteral("%1: %2").arg(target, QString::fromUtf8(sqlite3_errstr(rc))));
}

void CompactDatabase(Connection& cnn, const QString& tempPath)
{
    const QString original = cnn.path();
    if (QFileInfo::exists(tempPath) && !QFile::remove(tempPath))
        throw VbError(VbErr::PermissionDenied, QStringLiteral("Datei kann nicht gelöscht werden: %1").arg(tempPath));
    try {
        cnn.Execute(QStringLiteral("VACUUM INTO ?"), {Variant(tempPath)});
        // The compacted file must open and pass a check before it replaces anything.
        Handle check(tempPath, SQLITE_OPEN_READONLY);
        sqlite3_stmt* stmt = nullptr;
        const bool ok = sqlite3_prepare_v2(check.get(), "PRAGMA quick_check", -1, &stmt, nullptr) == SQLITE_OK
                        && sqlite3_step(stmt) == SQLITE_ROW
                        && QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))) == "ok";
        sqlite3_finalize(stmt);
        if (!ok)
            check.fail(tempPath);
    } catch (...) {
        QFile::remove(tempPath);
        throw;
    }
    cnn.Close();
    // rename() replaces the original in one step; on failure the original stays.
    if (std::rename(QFile::encodeName(tempPath).constData(), QFile::encodeName(original).constData()) != 0) {
        cnn.Reopen();
        throw VbError(VbErr::PermissionDenied,
                      QStringLiteral("Die komprimierte Datenbank kann nicht an die Stelle von %1 treten.").arg(original));
    }
    cnn.Reopen();
}

void CreateDatabase(const QString& path, const char* schemaSql)
{
    if (QFileInfo::exists(path))
        throw VbError(VbErr::DbGeneral, QStringLiteral("Die Datei besteht bereits: %1").arg(path));
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
