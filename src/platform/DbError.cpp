#include "DbError.h"
#include "FileOps.h"
#include "Locale.h"
#include <sqlite3.h>
#include <cerrno>

namespace {

QString Lead(const QString& about, const QString& text)
{
    return about.isEmpty() ? text : about + QStringLiteral(": ") + text;
}

} // namespace

QString KnownDatabaseCause(int resultCode, int systemError)
{
    const bool noSpace = systemError == ENOSPC || systemError == EDQUOT || systemError == EFBIG;
    switch (resultCode & 0xff) {
    case SQLITE_FULL:
        return WriteFailureText(ENOSPC);
    case SQLITE_IOERR:
        if (noSpace)
            return WriteFailureText(systemError);
        return ProgramText("The file could not be read or written.",
                           "Die Datei konnte nicht gelesen oder geschrieben werden.");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return ProgramText("The database is in use by another program.",
                           "Die Datenbank wird von einem anderen Programm benutzt.");
    case SQLITE_READONLY:
        if (resultCode == SQLITE_READONLY_DBMOVED)
            return ProgramText("The database file was moved or removed while it was open.",
                               "Die Datenbankdatei wurde verschoben oder entfernt, während sie geöffnet war.");
        return ProgramText("The database is read-only.", "Die Datenbank ist schreibgeschützt.");
    case SQLITE_PERM:
        return ProgramText("Access to the database was denied.", "Der Zugriff auf die Datenbank wurde verweigert.");
    case SQLITE_CANTOPEN:
        return ProgramText("The database cannot be opened.", "Die Datenbank kann nicht geöffnet werden.");
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return ProgramText("The file is no valid database.", "Die Datei ist keine gültige Datenbank.");
    default:
        return QString();
    }
}

DatabaseFailure DatabaseError(sqlite3* db, const QString& about)
{
    const QString known = KnownDatabaseCause(sqlite3_extended_errcode(db), sqlite3_system_errno(db));
    return DatabaseFailure(Lead(about, known.isEmpty() ? QString::fromUtf8(sqlite3_errmsg(db)) : known),
                           !known.isEmpty());
}
