#pragma once
// Copying, compacting and creating database files. Errors are VbError.
#include "Ado.h"
#include <QString>

// Copies a database file through SQLite's backup API: safe while the source is
// open elsewhere, and the target (created when missing) is replaced as a whole.
void CopyDatabase(const QString& source, const QString& target);

// Compacts the connection's database into tempPath, checks the result opens, and
// puts it in place of the original, which is never removed before its replacement
// is safe. The same Connection object is open on the compacted file afterwards.
void CompactDatabase(Connection& cnn, const QString& tempPath);

// Creates a new database file from a schema script (set-up and tests only);
// an existing file is an error.
void CreateDatabase(const QString& path, const char* schemaSql);
