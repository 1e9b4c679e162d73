#pragma once
// SQLite's failures as the runtime errors the program shows. Where SQLite's result
// code (and the system error behind it) tells the cause - no space left, the
// database in use, read-only, no database at all - the text is the program's own,
// in its language; otherwise it is SQLite's message.
#include "VbError.h"
#include <QString>

struct sqlite3;

// The program's words for a failure, "" when the cause is not one it knows.
QString KnownDatabaseCause(int resultCode, int systemError);
// The error of a failed call on a connection; about (a file, a step) leads the text.
VbError DatabaseError(sqlite3* db, const QString& about = {});
