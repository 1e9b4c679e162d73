#include "SqlTextFunctions.h"
#include <QString>
#include <sqlite3.h>

namespace {

// Text comparison without regard to case, umlauts included: replaces SQLite's
// ASCII-only NOCASE on the program's connections. The files keep the name NOCASE in
// their schema, so a stock sqlite3 shell still reads them (with ASCII folding).
int compareNoCase(void*, int n1, const void* s1, int n2, const void* s2)
{
    const QString a = QString::fromUtf8(static_cast<const char*>(s1), n1);
    const QString b = QString::fromUtf8(static_cast<const char*>(s2), n2);
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// LIKE with "%" and "_" as wildcards, case-insensitive including umlauts.
bool likeMatch(const QString& pattern, qsizetype p, const QString& text, qsizetype t, QChar escape)
{
    while (p < pattern.size()) {
        QChar c = pattern[p];
        if (c == escape && p + 1 < pattern.size()) {
            if (t >= text.size() || pattern[p + 1].toCaseFolded() != text[t].toCaseFolded())
                return false;
            p += 2;
            ++t;
            continue;
        }
        if (c == QLatin1Char('%')) {
            while (p < pattern.size() && pattern[p] == QLatin1Char('%'))
                ++p;
            if (p == pattern.size())
                return true;
            for (qsizetype k = t; k <= text.size(); ++k)
                if (likeMatch(pattern, p, text, k, escape))
                    return true;
            return false;
        }
        if (t >= text.size())
            return false;
        if (c != QLatin1Char('_') && c.toCaseFolded() != text[t].toCaseFolded())
            return false;
        ++p;
        ++t;
    }
    return t == text.size();
}

void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL)
            return sqlite3_result_null(ctx);
    auto text = [&](int i) {
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(argv[i])),
                                 sqlite3_value_bytes(argv[i]));
    };
    QChar escape;
    if (argc == 3) {
        const QString e = text(2);
        if (e.size() != 1)
            return sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
        escape = e[0];
    }
    sqlite3_result_int(ctx, likeMatch(text(0), 0, text(1), 0, escape) ? 1 : 0);
}

} // namespace

int RegisterTextFunctions(sqlite3* db)
{
    int rc = sqlite3_create_collation_v2(db, "NOCASE", SQLITE_UTF8, nullptr, compareNoCase, nullptr);
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function_v2(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function_v2(db, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr, nullptr);
    return rc;
}
