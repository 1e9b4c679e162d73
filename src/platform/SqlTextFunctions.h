#pragma once
// Text comparison on the program's connections without regard to case, umlauts
// included: the collation NOCASE and the function LIKE ("%" and "_" as wildcards,
// an optional escape character) in place of SQLite's ASCII-only ones.
struct sqlite3;

// Registers both on a connection; SQLite's result code (SQLITE_OK when done).
int RegisterTextFunctions(sqlite3* db);
