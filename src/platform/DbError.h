#pragma once
// SQLite's failures as the runtime errors the program shows. Where SQLite's result
// code (and the system error behind it) tells the cause - no space left, the
// database in use, read-only, no database at all - the text is the program's own,
// in its language; otherwise it is SQLite's message.
#include "VbError.h"
#include <QString>

struct sqlite3;

// A failed call on a database. Lasting: the cause lies in the file or its disk (no
// space, read-only, in use, no database), so every further write to it fails the same
// way until the cause is mended; a refused value or statement is not lasting.
class DatabaseFailure : public VbError {
public:
    DatabaseFailure(QString text, bool lasting) : VbError(VbErr::DbGeneral, std::move(text)), lasting_(lasting) {}
    bool lasting() const { return lasting_; }

private:
    bool lasting_;
};

// A change refused because the transaction it belonged to has ended early; the
// failure that ended it was reported when it happened.
class TransactionLost : public DatabaseFailure {
public:
    explicit TransactionLost(QString text) : DatabaseFailure(std::move(text), true) {}
};

// The program's words for a failure, "" when the cause is not one it knows.
QString KnownDatabaseCause(int resultCode, int systemError);
// The error of a failed call on a connection; about (a file, a step) leads the text.
DatabaseFailure DatabaseError(sqlite3* db, const QString& about = {});
