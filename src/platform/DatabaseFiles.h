#pragma once
// Copying, compacting and creating database files. Errors are VbError.
#include "Ado.h"
#include <QString>
#include <QStringList>
#include <functional>

// What a copy must hold to count as sound, and how long it waits for its source.
struct CopyOptions {
    QStringList requiredTables;   // e.g. the record tables of a project database
    int timeoutSeconds = 30;      // a source another program is writing, at most this long
};
// Called with the complete, checked copy, already on the disk, just before it replaces
// the target; what it throws stops the copy with the target as it was.
using BeforeReplace = std::function<void(const QString& partial)>;

// Copies a database file through SQLite's backup API, safe while the source is open
// elsewhere; a hot journal left on the source by an interrupted write is rolled back
// first, as any reader would. The copy is written under a temporary name in the
// target's folder, checked (SQLite's integrity check, and the required tables), synced,
// and only then renamed over the target, so a failed copy leaves the target as it was.
// A journal beside the target is its old file's: a hot one is rolled back into that
// file before the rename, and none is left beside the new one; when that cannot be
// done, the target stays as it was. A target that is a symbolic link stays one: the
// file it names is replaced; one the user may not write is refused (error 70), and a
// source or target that is no regular file (error 75), before anything is copied.
void CopyDatabase(const QString& source, const QString& target, const CopyOptions& options = {},
                  const BeforeReplace& beforeReplace = {});

// Whether a file opens as a database holding the tables (a hot journal on it is
// rolled back first); quick, its pages are not read one by one. An empty file is
// no database.
bool IsDatabaseWithTables(const QString& path, const QStringList& requiredTables);

// Compacts the connection's database into tempPath, checks the result as a copy, and
// puts it in place of the original, which is never removed before its replacement
// is safe. The same Connection object is open on the compacted file afterwards.
void CompactDatabase(Connection& cnn, const QString& tempPath);

// Creates a new database file from a schema script (set-up and tests only);
// an existing file is an error.
void CreateDatabase(const QString& path, const char* schemaSql);
