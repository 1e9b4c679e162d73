// The database layer over SQLite with the behaviour the program relies on.
#include "platform/Ado.h"
#include "platform/DbError.h"
#include "platform/Locale.h"
#include "platform/VbError.h"
#include "support/TestHelpers.h"
#include "support/TestSuite.h"
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <functional>

namespace {

// The storage class SQLite holds for a value ("integer", "real", "text", "null").
QString storedType(TempProject& p, const QString& sql)
{
    return CStr(p.scalar(sql));
}

std::vector<QString> column(std::shared_ptr<Connection> cnn, const QString& sql)
{
    Recordset rs;
    rs.Open(sql, cnn, 3, 3, -1);
    std::vector<QString> values;
    while (!rs.Eof()) {
        values.push_back(CStr(rs.Fields(0).Value()));
        rs.MoveNext();
    }
    rs.Close();
    return values;
}

class AdoTest : public ::testing::Test {
protected:
    TempProject p;
    void addE1(int id, const QString& ken, bool akt)
    {
        p.cnnX()->Execute(QStringLiteral("INSERT INTO E1 (ID, KEN, AKT) VALUES (?, ?, ?)"), {int32_t(id), ken, akt});
    }
};

} // namespace

TEST_F(AdoTest, OpensByTheRecipeAndRefusesWhatIsNoDatabase)
{
    EXPECT_TRUE(p.cnnX()->isOpen());
    EXPECT_EQ(JetConnectionString(QStringLiteral("/x/TREMOL.mdb")),
              QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; Data Source=/x/TREMOL.mdb;Persist Security Info=False"));

    const QString missing = p.folder() + QStringLiteral("/missing.mdb");
    const QString text = p.folder() + QStringLiteral("/text.mdb");
    const QString empty = p.folder() + QStringLiteral("/empty.mdb");
    QFile t(text);
    ASSERT_TRUE(t.open(QIODevice::WriteOnly));
    t.write(QByteArray("Dies ist keine Datenbank, sondern ein Text.\n").repeated(100));
    t.close();
    QFile e(empty);
    ASSERT_TRUE(e.open(QIODevice::WriteOnly));
    e.close();

    for (const QString& path : {missing, text, empty}) {
        SCOPED_TRACE(path.toStdString());
        Connection cnn;
        cnn.ConnectionString = JetConnectionString(path);
        EXPECT_EQ(VbErrorOf([&] { cnn.Open(QString(), QString(), QString(), -1); }), VbErr::DbGeneral);
        EXPECT_FALSE(cnn.isOpen());
    }
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_EQ(QFileInfo(empty).size(), 0);
}

TEST_F(AdoTest, StaticSnapshotCountsAndWalksExactly)
{
    addE1(1, QStringLiteral("A"), true);
    addE1(2, QStringLiteral("b"), false);
    addE1(3, QStringLiteral("C"), true);
    Recordset rs;
    rs.Open(QStringLiteral("SELECT [ID] FROM [E1] WHERE [AKT]=true"), p.cnnX(), 3, 3, -1);
    EXPECT_EQ(rs.RecordCount(), 2);
    EXPECT_FALSE(rs.Eof());
    EXPECT_FALSE(rs.Bof());
    rs.MoveLast();
    EXPECT_EQ(CLng(rs.Fields(QStringLiteral("ID")).Value()), 3);
    rs.MoveFirst();
    EXPECT_EQ(CLng(rs.Fields(QStringLiteral("id")).Value()), 1);
    rs.MoveNext();
    rs.MoveNext();
    EXPECT_TRUE(rs.Eof());
    EXPECT_EQ(VbErrorOf([&] { rs.MoveNext(); }), VbErr::NoCurrentRecord);
    EXPECT_EQ(VbErrorOf([&] { rs.Fields(0).Value(); }), VbErr::NoCurrentRecord);
    rs.Close();

    // An empty result is at BOF and EOF, with no row to move to.
    rs.Open(QStringLiteral("SELECT [ID] FROM [E1] WHERE [ID]>99"), p.cnnX());
    EXPECT_TRUE(rs.Eof());
    EXPECT_TRUE(rs.Bof());
    EXPECT_EQ(rs.RecordCount(), 0);
    EXPECT_EQ(VbErrorOf([&] { rs.MoveFirst(); }), VbErr::NoCurrentRecord);
    EXPECT_EQ(VbErrorOf([&] { rs.MoveLast(); }), VbErr::NoCurrentRecord);
}

TEST_F(AdoTest, DesignationsCompareWithoutRegardToCaseUmlautsIncluded)
{
    addE1(1, QStringLiteral("A"), true);
    addE1(2, QStringLiteral("b"), false);
    addE1(3, QStringLiteral("C"), true);
    addE1(4, QStringLiteral("Wand1"), false);
    addE1(5, QStringLiteral("ÄB"), false);
    addE1(6, QStringLiteral("xÖly"), false);

    struct Case {
        const char* sql;
        std::vector<QString> ids;
    };
    const Case cases[] = {
        {"SELECT [ID] FROM [E1] WHERE [KEN]='a'", {"1"}},
        {"SELECT [ID] FROM [E1] WHERE [KEN]='äb'", {"5"}},
        {"SELECT [ID] FROM [E1] WHERE [KEN]<>'a' AND [ID]<4", {"2", "3"}},
        {"SELECT [ID] FROM [E1] WHERE [KEN]LIKE'%öl%'", {"6"}},
        {"SELECT [ID] FROM [E1] WHERE [KEN] LIKE 'w_nd%'", {"4"}},
        {"SELECT [KEN] FROM [E1] WHERE [ID]<4 ORDER BY [KEN]", {"A", "b", "C"}},
        {"SELECT [ID] FROM [E1] WHERE [AKT]=true ORDER BY [ID] Desc", {"3", "1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        EXPECT_EQ(column(p.cnnX(), QString::fromUtf8(c.sql)), c.ids);
    }

    // A bound parameter compares the same way.
    for (const char* key : {"wand1", "WAND1"}) {
        p.cnnX()->Execute(QStringLiteral("UPDATE [E1] SET [KOM]='x' WHERE [KEN]=?"), {key});
        EXPECT_EQ(CStr(p.scalar(QStringLiteral("SELECT count(*) FROM E1 WHERE KOM='x'"))), QStringLiteral("1"));
        p.exec(QStringLiteral("UPDATE E1 SET KOM=NULL"));
    }
}

TEST_F(AdoTest, FilesStayReadableByAStockSqliteConnection)
{
    addE1(1, QStringLiteral("Wand1"), true);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(p.projectDbPath().toUtf8().constData(), &db), SQLITE_OK);
    sqlite3_stmt* stmt = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT ID, AKT FROM E1 WHERE KEN='wand1'", -1, &stmt, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(stmt, 0), 1);
    EXPECT_EQ(sqlite3_column_int(stmt, 1), 1);
    sqlite3_finalize(stmt);
    sqlite3_stmt* mode = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &mode, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(mode), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(mode, 0)), "delete");
    sqlite3_finalize(mode);
    sqlite3_close(db);
}

// Values are converted by the column's declared type when assigned and when read.
TEST_F(AdoTest, ValuesFollowTheDeclaredTypeOfTheirColumn)
{
    struct Case {
        const char* column;
        Variant value;
        QLocale locale;
        Variant read;        // what the field reads back
        const char* stored;  // SQLite storage class
    };
    const Case cases[] = {
        {"Z", Variant("1,5"), German(), Variant(1.5f), "real"},
        {"Z", Variant("1.5"), English(), Variant(1.5f), "real"},
        {"Z", Variant(0.1), German(), Variant(0.1f), "real"},
        {"Z", Variant(), German(), Variant::Null(), "null"},
        {"Z", Variant(""), German(), Variant::Null(), "null"},
        {"Z", Variant::Null(), German(), Variant::Null(), "null"},
        {"Z", Variant(true), German(), Variant(-1.0f), "integer"},  // whole numbers: SQLite stores them compactly
        {"K", Variant("2"), German(), Variant(int16_t(2)), "integer"},
        {"K", Variant(2.5), German(), Variant(int16_t(2)), "integer"},
        {"K", Variant(3.5f), German(), Variant(int16_t(4)), "integer"},
        {"I1", Variant("10"), German(), Variant(int32_t(10)), "integer"},
        {"I1", Variant(int16_t(7)), German(), Variant(int32_t(7)), "integer"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.column) + " <- " + CStr(c.value.isNull() ? Variant("Null") : c.value).toStdString());
        LocaleScope scope(c.locale);
        p.exec(QStringLiteral("DELETE FROM E3"));
        Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM [E3] WHERE [ID]=1"), p.cnnX(), 3, 3, -1);
        rs.AddNew();
        rs.Fields(QStringLiteral("ID")) = int32_t(1);
        rs.Fields(QString::fromLatin1(c.column)) = c.value;
        rs.Update();
        EXPECT_EQ(rs.Fields(QString::fromLatin1(c.column)).Value(), c.read);
        rs.Close();
        rs.Open(QStringLiteral("SELECT * FROM [E3] WHERE [ID]=1"), p.cnnX());
        EXPECT_EQ(rs.Fields(QString::fromLatin1(c.column)).Value(), c.read);
        EXPECT_EQ(storedType(p, QStringLiteral("SELECT typeof([%1]) FROM E3").arg(QLatin1String(c.column))),
                  QLatin1String(c.stored));
    }
    // The Single 0.1 is stored as 0.1, so that SQL and other tools see the typed value.
    p.cnnX()->Execute(QStringLiteral("UPDATE E3 SET Z=?"), {0.1f});
    EXPECT_EQ(CStr(p.scalar(QStringLiteral("SELECT count(*) FROM E3 WHERE Z=0.1"))), QStringLiteral("1"));
}

TEST_F(AdoTest, BooleansAreStoredAsZeroAndOneAndReadAsBoolean)
{
    struct Case {
        Variant value;
        bool read;
    };
    const Case cases[] = {{Variant(true), true}, {Variant(false), false}, {Variant(int32_t(5)), true},
                          {Variant(-1.0), true}, {Variant(int16_t(0)), false}, {Variant(), false}};
    for (const Case& c : cases) {
        p.exec(QStringLiteral("DELETE FROM E1"));
        Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM [E1]"), p.cnnX());
        rs.AddNew();
        rs.Fields(QStringLiteral("ID")) = int32_t(1);
        rs.Fields(QStringLiteral("AKT")) = c.value;
        rs.Update();
        rs.Close();
        EXPECT_EQ(p.scalar(QStringLiteral("SELECT [AKT] FROM [E1]")), Variant(c.read));
        EXPECT_EQ(CStr(p.scalar(QStringLiteral("SELECT AKT + 0 FROM E1"))), c.read ? QStringLiteral("1") : QStringLiteral("0"));
        EXPECT_EQ(CInt(p.scalar(QStringLiteral("SELECT [AKT] FROM [E1]"))), c.read ? -1 : 0);
    }
    // A new row whose flag was not assigned gets the column's default, False.
    p.exec(QStringLiteral("DELETE FROM E1"));
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM [E1]"), p.cnnX());
    rs.AddNew();
    rs.Fields(QStringLiteral("ID")) = int32_t(9);
    rs.Update();
    EXPECT_EQ(rs.Fields(QStringLiteral("AKT")).Value(), Variant(false));
}

TEST_F(AdoTest, AValueThatDoesNotFitIsRefusedAtTheAssignment)
{
    struct Case {
        const char* table;
        const char* column;
        Variant value;
    };
    const Case cases[] = {
        {"E3", "Z", Variant("abc")},
        {"E3", "Z", Variant("1.5.2")},
        {"E3", "K", Variant(int32_t(40000))},
        {"E3", "K", Variant("x")},
        {"E3", "I1", Variant(3e10)},
        {"E1", "AKT", Variant("vielleicht")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.table) + "." + c.column);
        Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM [%1]").arg(QLatin1String(c.table)), p.cnnX());
        rs.AddNew();
        rs.Fields(QStringLiteral("ID")) = int32_t(1);
        EXPECT_EQ(VbErrorOf([&] { rs.Fields(QString::fromLatin1(c.column)) = c.value; }), VbErr::DbConversion);
        // The refused value leaves the field unassigned; the row can still be written.
        rs.Update();
        EXPECT_EQ(rs.Fields(QString::fromLatin1(c.column)).Value(),
                  QLatin1String(c.column) == QLatin1String("AKT") ? Variant(false) : Variant::Null());
        rs.Close();
        p.exec(QStringLiteral("DELETE FROM [%1]").arg(QLatin1String(c.table)));
    }
}

TEST_F(AdoTest, AddNewUpdateAndDeleteKeepTheCursorWhereTheWritersExpectIt)
{
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM [E3] WHERE [ID]=7"), p.cnnX(), 3, 3, -1);
    EXPECT_EQ(rs.FieldCount(), 5);   // the fields are known although no row matched
    EXPECT_EQ(rs.Fields(0).Name(), QStringLiteral("ID"));
    for (int i = 0; i < 3; ++i) {
        rs.AddNew();
        rs.Fields(QStringLiteral("ID")) = int32_t(7);
        rs.Fields(QStringLiteral("I1")) = int32_t(i);
        rs.Update();
        EXPECT_FALSE(rs.Eof());
        EXPECT_EQ(CLng(rs.Fields(QStringLiteral("I1")).Value()), i);
    }
    rs.MoveNext();
    EXPECT_TRUE(rs.Eof());
    EXPECT_EQ(rs.RecordCount(), 3);

    // Delete the middle row: it stays current until the move, then the next row follows.
    rs.MoveFirst();
    rs.MoveNext();
    rs.Delete(1);
    EXPECT_EQ(VbErrorOf([&] { rs.Fields(0).Value(); }), VbErr::NoCurrentRecord);
    rs.MoveNext();
    EXPECT_EQ(CLng(rs.Fields(QStringLiteral("I1")).Value()), 2);
    EXPECT_EQ(rs.RecordCount(), 2);
    // Moves pass over deleted rows, at either end too.
    rs.MoveFirst();
    EXPECT_EQ(CLng(rs.Fields(QStringLiteral("I1")).Value()), 0);
    rs.MoveLast();
    EXPECT_EQ(CLng(rs.Fields(QStringLiteral("I1")).Value()), 2);
    rs.Delete(1);
    rs.MoveLast();
    EXPECT_EQ(CLng(rs.Fields(QStringLiteral("I1")).Value()), 0);
    rs.Delete(1);
    rs.MoveNext();
    EXPECT_TRUE(rs.Eof());
    EXPECT_TRUE(rs.Bof());
    EXPECT_EQ(rs.RecordCount(), 0);
    EXPECT_EQ(VbErrorOf([&] { rs.MoveFirst(); }), VbErr::NoCurrentRecord);
    EXPECT_EQ(VbErrorOf([&] { rs.MoveLast(); }), VbErr::NoCurrentRecord);
    rs.Close();
    EXPECT_TRUE(column(p.cnnX(), QStringLiteral("SELECT [I1] FROM [E3] ORDER BY [I1]")).empty());
    for (int i : {0, 2})
        p.cnnX()->Execute(QStringLiteral("INSERT INTO E3 (ID, I1) VALUES (7, ?)"), {int32_t(i)});

    // An assignment followed by a move is written, as the cursor leaves the row.
    rs.Open(QStringLiteral("SELECT [I1],[Z] FROM [E3] WHERE [ID]=7 ORDER BY [I1]"), p.cnnX());
    rs.Fields(QStringLiteral("Z")) = 4.25f;
    rs.MoveNext();
    rs.Close();
    EXPECT_EQ(CStr(p.scalar(QStringLiteral("SELECT [Z] FROM [E3] WHERE [I1]=0"))), QStringLiteral("4,25"));
}

TEST_F(AdoTest, UpdateWritesOnlyTheFieldsAssignedSinceTheLastUpdate)
{
    p.exec(QStringLiteral("INSERT INTO A1 (ID, BONEU) VALUES (1, 1)"));
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM [A1] WHERE [ID]=1"), p.cnnX(), 3, 3, -1);
    // Meanwhile another writer puts the results into the same row.
    p.exec(QStringLiteral("UPDATE A1 SET WHL=12.5, WVR=-3 WHERE ID=1"));
    rs.Fields(QStringLiteral("BONEU")) = false;
    rs.Update();
    rs.Close();
    EXPECT_EQ(p.scalar(QStringLiteral("SELECT [WHL] FROM [A1]")), Variant(12.5f));
    EXPECT_EQ(p.scalar(QStringLiteral("SELECT [WVR] FROM [A1]")), Variant(-3.0f));
    EXPECT_EQ(p.scalar(QStringLiteral("SELECT [BONEU] FROM [A1]")), Variant(false));
}

TEST_F(AdoTest, AFailedUpdateDiscardsThePendingChangeAndReportsIt)
{
    addE1(1, QStringLiteral("A"), true);
    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM [E1]"), p.cnnX());
    // ID is required: the insert fails, and nothing stays pending.
    rs.AddNew();
    rs.Fields(QStringLiteral("KEN")) = "ohne Nummer";
    EXPECT_EQ(VbErrorOf([&] { rs.Update(); }), VbErr::DbGeneral);
    EXPECT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(CStr(rs.Fields(QStringLiteral("KEN")).Value()), QStringLiteral("A"));
    // The same for a change of an existing row: the row shows what is stored.
    rs.Fields(QStringLiteral("ID")) = Variant::Null();
    EXPECT_EQ(VbErrorOf([&] { rs.Update(); }), VbErr::DbGeneral);
    EXPECT_EQ(CLng(rs.Fields(QStringLiteral("ID")).Value()), 1);
    // A row removed by someone else cannot be updated.
    p.exec(QStringLiteral("DELETE FROM E1"));
    rs.Fields(QStringLiteral("KEN")) = "B";
    EXPECT_EQ(VbErrorOf([&] { rs.Update(); }), VbErr::DbGeneral);
    EXPECT_EQ(CStr(p.scalar(QStringLiteral("SELECT count(*) FROM E1"))), QStringLiteral("0"));
}

TEST_F(AdoTest, FieldsAreFoundByNameOrPosition)
{
    p.exec(QStringLiteral("INSERT INTO A2 (ID, K, OU, I4, X) VALUES (1, 2, 1, 3, 0.5)"));
    Recordset rs;
    rs.Open(QStringLiteral("SELECT [I4],[ID],[K],[OU],[I4] FROM [A2] WHERE [ID]=1 AND [K]=2"), p.cnnX());
    EXPECT_EQ(rs.FieldCount(), 5);
    EXPECT_EQ(&rs.Fields(QStringLiteral("i4")), &rs.Fields(0));
    EXPECT_EQ(rs.Fields(QStringLiteral("i4")).Value(), Variant(int16_t(3)));
    EXPECT_EQ(rs.Fields(2).Value(), Variant(int16_t(2)));
    EXPECT_EQ(VbErrorOf([&] { rs.Fields(QStringLiteral("WH")); }), VbErr::ItemNotFound);
    EXPECT_EQ(VbErrorOf([&] { rs.Fields(5); }), VbErr::ItemNotFound);
    rs.Close();

    // SELECT * gives the table's columns in order; the row id stays hidden.
    rs.Open(QStringLiteral("SELECT * FROM A2 WHERE ID>0"), p.cnnX());
    EXPECT_EQ(rs.FieldCount(), 8);
    EXPECT_EQ(rs.Fields(0).Name(), QStringLiteral("ID"));
    EXPECT_EQ(rs.Fields(7).Name(), QStringLiteral("WV"));
    rs.Close();

    // Results of expressions are read by their storage; they cannot be changed.
    rs.Open(QStringLiteral("SELECT Max([ID]) FROM [A2]"), p.cnnX());
    EXPECT_EQ(rs.Fields(0).Value(), Variant(int32_t(1)));
    EXPECT_EQ(VbErrorOf([&] { rs.AddNew(); }), VbErr::DbGeneral);
}

TEST_F(AdoTest, ErrorsCarryTheNumbersTheProgramShows)
{
    struct Case {
        const char* sql;
        int32_t number;
    };
    const Case cases[] = {
        {"SELECT [NIX] FROM [E1]", VbErr::DbUnknownColumn},
        {"SELECT [ID] FROM [E9]", VbErr::DbUnknownTable},
        {"SELECT [ID] FROM [E1] WHERE", VbErr::DbSyntax},
        {"SELECT [] FROM [E1]", VbErr::DbUnknownColumn},
        // A second statement is refused, not silently skipped.
        {"SELECT [ID] FROM [E1]; DELETE FROM [E1]", VbErr::DbSyntax},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        Recordset rs;
        EXPECT_EQ(VbErrorOf([&] { rs.Open(QString::fromLatin1(c.sql), p.cnnX()); }), c.number);
        EXPECT_EQ(VbErrorOf([&] { p.exec(QString::fromLatin1(c.sql)); }), c.number);
    }

    Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM [E1]"), p.cnnX());
    rs.Close();
    EXPECT_EQ(VbErrorOf([&] { rs.Eof(); }), VbErr::ObjectClosed);
    EXPECT_EQ(VbErrorOf([&] { rs.Close(); }), VbErr::ObjectClosed);

    // A closed connection is error 3704 wherever it is used; Reopen brings it back.
    auto cnn = p.cnnX();
    cnn->Close();
    EXPECT_EQ(VbErrorOf([&] { cnn->Execute(QStringLiteral("DELETE FROM E1")); }), VbErr::ObjectClosed);
    EXPECT_EQ(VbErrorOf([&] { rs.Open(QStringLiteral("SELECT * FROM [E1]"), cnn); }), VbErr::ObjectClosed);
    EXPECT_EQ(VbErrorOf([&] { cnn->Close(); }), VbErr::ObjectClosed);
    cnn->Reopen();
    EXPECT_TRUE(cnn->isOpen());
    EXPECT_EQ(CStr(p.scalar(QStringLiteral("SELECT count(*) FROM E1"))), QStringLiteral("0"));
}

TEST_F(AdoTest, ParametersAreBoundByTypeAndColumnTypesAreListed)
{
    p.cnnX()->Execute(QStringLiteral("INSERT INTO E1 (ID, KEN, KOM, AKT) VALUES (?, ?, ?, ?)"),
                      {int32_t(1), "O'Brien", Variant::Null(), true});
    EXPECT_EQ(p.scalar(QStringLiteral("SELECT [KEN] FROM [E1] WHERE [AKT]=true")), Variant("O'Brien"));
    EXPECT_EQ(p.scalar(QStringLiteral("SELECT [KOM] FROM [E1]")), Variant::Null());
    const auto& columns = p.cnnX()->columnsOf(QStringLiteral("e1"));
    ASSERT_EQ(columns.size(), 4u);
    EXPECT_EQ(columns[0], (std::pair<QString, QString>{"id", "INTEGER"}));
    EXPECT_EQ(columns[3], (std::pair<QString, QString>{"akt", "BOOLEAN"}));
    EXPECT_EQ(VbErrorOf([&] { p.cnnX()->columnsOf(QStringLiteral("E9")); }), VbErr::DbUnknownTable);
}

TEST_F(AdoTest, TransactionsCommitOnlyWhenAskedAndNestAsSavepoints)
{
    auto count = [&] { return CLng(p.scalar(QStringLiteral("SELECT COUNT(*) FROM E1"))); };
    {
        Transaction t(p.cnnX());
        addE1(1, QStringLiteral("a"), false);
    }   // left without Commit: rolled back
    EXPECT_EQ(count(), 0);
    {
        Transaction outer(p.cnnX());
        addE1(1, QStringLiteral("a"), false);
        {
            Transaction inner(p.cnnX());
            addE1(2, QStringLiteral("b"), false);
        }   // only the inner part is undone
        {
            Transaction inner(p.cnnX());
            addE1(3, QStringLiteral("c"), false);
            inner.Commit();
        }
        outer.Commit();
    }
    EXPECT_EQ(count(), 2);
    EXPECT_EQ(CLng(p.scalar(QStringLiteral("SELECT SUM(ID) FROM E1"))), 4);

    // A commit that fails leaves no transaction open behind it.
    Transaction t(p.cnnX());
    addE1(5, QStringLiteral("e"), false);
    p.exec(QStringLiteral("ROLLBACK"));   // the transaction is gone under it
    EXPECT_THROW(t.Commit(), VbError);
    EXPECT_NE(sqlite3_get_autocommit(p.cnnX()->handle()), 0);
    EXPECT_EQ(count(), 2);
}

// A COMMIT that SQLite refuses (a reader in another process holds the file) would
// leave the transaction open on the connection: the guard rolls it back and raises.
TEST_F(AdoTest, RefusedCommitRollsBackAndRaises)
{
    sqlite3* reader = nullptr;
    ASSERT_EQ(sqlite3_open_v2(p.projectDbPath().toUtf8().constData(), &reader, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* reading = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(reader, "SELECT * FROM sqlite_master", -1, &reading, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(reading), SQLITE_ROW);   // holds its shared lock
    sqlite3_busy_timeout(p.cnnX()->handle(), 50);
    {
        Transaction t(p.cnnX());
        addE1(1, QStringLiteral("a"), false);
        EXPECT_THROW(t.Commit(), VbError);
        EXPECT_NE(sqlite3_get_autocommit(p.cnnX()->handle()), 0);
    }
    sqlite3_finalize(reading);
    sqlite3_close(reader);
    EXPECT_EQ(p.scalar(QStringLiteral("SELECT COUNT(*) FROM E1")), Variant(int32_t(0)));
}

// Reopening the connection ends its transaction: the old guard's commit raises and
// never commits a transaction begun after the reopen.
TEST_F(AdoTest, TransactionEndsWithItsConnectionSession)
{
    auto count = [&] { return CLng(p.scalar(QStringLiteral("SELECT COUNT(*) FROM E1"))); };
    Transaction old(p.cnnX());
    addE1(1, QStringLiteral("a"), false);
    p.cnnX()->Reopen();
    {
        Transaction later(p.cnnX());
        addE1(2, QStringLiteral("b"), false);
        EXPECT_THROW(old.Commit(), VbError);
        EXPECT_EQ(sqlite3_get_autocommit(p.cnnX()->handle()), 0);   // the later one is still open
    }
    EXPECT_EQ(count(), 0);
}

// A failure of the file itself ends the transaction at once: nothing holds the file
// while the failure is shown, nothing of the transaction is written on its own after
// it, and the next transaction works.
TEST_F(AdoTest, FailureOfTheFileEndsItsTransactionAtOnce)
{
    auto count = [&] { return CLng(p.scalar(QStringLiteral("SELECT COUNT(*) FROM E1"))); };
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open_v2(p.projectDbPath().toUtf8().constData(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    sqlite3_busy_timeout(p.cnnX()->handle(), 50);
    const int32_t pages = CLng(p.scalar(QStringLiteral("PRAGMA page_count")));
    const struct {
        const char* name;
        std::function<void()> before, after;
        const char* cause;
    } cases[] = {
        {"disk full", [&] { p.exec(QStringLiteral("PRAGMA max_page_count = %1").arg(pages + 1)); },
         [&] { p.exec(QStringLiteral("PRAGMA max_page_count = 1000000")); }, "Auf dem Datenträger ist kein Platz mehr frei."},
        {"in use", [&] { sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr); },
         [&] { sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr); },
         "Die Datenbank wird von einem anderen Programm benutzt."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        {
            Transaction outer(p.cnnX());
            Transaction inner(p.cnnX());   // nested, as the steps of a save are
            c.before();
            try {
                p.exec(QStringLiteral("INSERT INTO E1 (ID, KOM) VALUES (1, hex(zeroblob(100000)))"));
                ADD_FAILURE() << "no failure";
            } catch (const DatabaseFailure& e) {
                EXPECT_TRUE(e.lasting());
                EXPECT_TRUE(e.text().endsWith(QString::fromUtf8(c.cause))) << e.text().toStdString();
            }
            c.after();
            EXPECT_NE(sqlite3_get_autocommit(p.cnnX()->handle()), 0);   // no lock held by this connection
            EXPECT_THROW(addE1(2, QStringLiteral("b"), false), TransactionLost);
            EXPECT_THROW(Transaction(p.cnnX()), TransactionLost);
            EXPECT_EQ(count(), 0);   // what is read meanwhile is the file as it was
            inner.Rollback();
            EXPECT_THROW(outer.Commit(), TransactionLost);
        }
        EXPECT_EQ(count(), 0);
        Transaction next(p.cnnX());
        addE1(3, QStringLiteral("c"), false);
        next.Commit();
        EXPECT_EQ(count(), 1);
        p.exec(QStringLiteral("DELETE FROM E1"));
    }
    sqlite3_close(other);
}

namespace {

// The prepared statements a connection holds, by their SQL text, with how often each ran.
std::vector<std::pair<QString, int>> preparedStatements(Connection& cnn)
{
    std::vector<std::pair<QString, int>> found;
    for (sqlite3_stmt* s = sqlite3_next_stmt(cnn.handle(), nullptr); s; s = sqlite3_next_stmt(cnn.handle(), s))
        found.emplace_back(QString::fromUtf8(sqlite3_sql(s)), sqlite3_stmt_status(s, SQLITE_STMTSTATUS_RUN, 0));
    return found;
}

} // namespace

// A text with placeholders is prepared once and reused with other values; a text with
// its values written in is not kept.
TEST_F(AdoTest, StatementsWithPlaceholdersArePreparedOnce)
{
    Connection& cnn = *p.cnnX();
    const QString insert = QStringLiteral("INSERT INTO E1 (ID, KEN) VALUES (?, ?)");
    for (int id = 1; id <= 3; ++id)
        cnn.Execute(insert, {int32_t(id), QStringLiteral("k")});
    cnn.Execute(QStringLiteral("UPDATE E1 SET KOM = 'x' WHERE ID = 1"));
    const QString select = QStringLiteral("SELECT [KEN] FROM [E1] WHERE [ID]=?");
    for (int id = 1; id <= 3; ++id) {
        Recordset rs;
        rs.Open(select, {int32_t(id)}, p.cnnX());
        rs.Fields(0) = QStringLiteral("neu");   // a write through the recordset, by its row id
        rs.Update();
        rs.Close();
    }
    const auto kept = preparedStatements(cnn);
    const auto runs = [&](const QString& start) {
        for (const auto& [sql, run] : kept)
            if (sql.startsWith(start))
                return run;
        return -1;
    };
    EXPECT_EQ(runs(insert), 3);
    EXPECT_EQ(runs(QStringLiteral("SELECT rowid AS __rid, [KEN] FROM [E1] WHERE [ID]=?")), 3);
    EXPECT_EQ(runs(QStringLiteral("UPDATE [E1] SET [KEN]=? WHERE rowid=?")), 3);
    EXPECT_EQ(runs(QStringLiteral("UPDATE E1 SET KOM")), -1);
    EXPECT_EQ(column(p.cnnX(), QStringLiteral("SELECT KEN FROM E1 ORDER BY ID")), (std::vector<QString>{"neu", "neu", "neu"}));

    // Too many different texts: the idle ones are let go, not kept without end.
    for (int n = 0; n < 300; ++n)
        cnn.Execute(QStringLiteral("SELECT ? + %1").arg(n), {int32_t(n)});
    EXPECT_LE(preparedStatements(cnn).size(), 256u);
}

// Closing or reopening lets go of the kept statements; a statement kept before a change
// of the schema follows the change.
TEST_F(AdoTest, KeptStatementsFollowReopeningAndTheSchema)
{
    Connection& cnn = *p.cnnX();
    p.exec(QStringLiteral("CREATE TABLE T (ID INTEGER, V TEXT)"));
    cnn.Execute(QStringLiteral("INSERT INTO T VALUES (?, ?)"), {int32_t(1), QStringLiteral("a")});
    const auto fields = [&](const QString& sql) {
        Recordset rs;
        rs.Open(sql, {int32_t(1)}, p.cnnX());
        QStringList names;
        for (int i = 0; i < rs.FieldCount(); ++i)
            names << rs.Fields(i).Name() + QLatin1Char('=') + CStr(rs.Fields(i).Value());
        rs.Close();
        return names.join(QLatin1Char(','));
    };
    const QString all = QStringLiteral("SELECT * FROM T WHERE ID = ?");
    EXPECT_EQ(fields(all), QStringLiteral("ID=1,V=a"));
    ASSERT_FALSE(preparedStatements(cnn).empty());

    cnn.Reopen();
    EXPECT_TRUE(preparedStatements(cnn).empty());
    EXPECT_EQ(fields(all), QStringLiteral("ID=1,V=a"));

    p.exec(QStringLiteral("ALTER TABLE T ADD COLUMN W TEXT DEFAULT 'w'"));
    EXPECT_EQ(fields(all), QStringLiteral("ID=1,V=a,W=w"));
    EXPECT_EQ(fields(QStringLiteral("SELECT [V] FROM [T] WHERE [ID] = ?")), QStringLiteral("V=a"));
    p.exec(QStringLiteral("ALTER TABLE T RENAME COLUMN V TO V2"));
    EXPECT_EQ(VbErrorOf([&] { fields(QStringLiteral("SELECT [V] FROM [T] WHERE [ID] = ?")); }), VbErr::DbUnknownColumn);
    EXPECT_EQ(fields(all), QStringLiteral("ID=1,V2=a,W=w"));

    cnn.Close();
    EXPECT_EQ(VbErrorOf([&] { fields(all); }), VbErr::ObjectClosed);
    cnn.Open();
    EXPECT_EQ(fields(all), QStringLiteral("ID=1,V2=a,W=w"));
}

// A connection knows whether its path still shows the file it has open: written in
// place it does; with another file renamed over it (as a save replaces a project) or
// none there it does not, until the connection is reopened on what is there. Opened
// through a link, the file the link names is the one, until the link names another.
TEST_F(AdoTest, AConnectionKnowsWhetherItsPathStillShowsTheFileItHasOpen)
{
    const QString db = p.projectDbPath();
    const QString link = p.folder() + QStringLiteral("/Verweis.mdb");
    const QString copy = p.folder() + QStringLiteral("/Kopie.mdb");
    ASSERT_TRUE(QFile::link(db, link));
    for (const QString& path : {db, link}) {
        SCOPED_TRACE(path.toStdString());
        auto cnn = OpenDatabase(path);
        EXPECT_FALSE(cnn->fileReplaced());
        p.exec(QStringLiteral("INSERT INTO E1 (ID, KEN, AKT) VALUES (1, 'vorher', 0)"));
        EXPECT_FALSE(cnn->fileReplaced());

        ASSERT_TRUE(QFile::copy(db, copy));
        ASSERT_EQ(::rename(QFile::encodeName(copy).constData(), QFile::encodeName(db).constData()), 0);
        EXPECT_TRUE(cnn->fileReplaced());
        cnn->Reopen();
        EXPECT_FALSE(cnn->fileReplaced());

        ASSERT_TRUE(QFile::rename(db, copy));
        EXPECT_TRUE(cnn->fileReplaced());
        ASSERT_TRUE(QFile::rename(copy, db));
        EXPECT_FALSE(cnn->fileReplaced());
        cnn->Close();
        EXPECT_TRUE(cnn->fileReplaced());
        p.cnnX()->Reopen();
        p.exec(QStringLiteral("DELETE FROM E1"));
    }
    // A link that comes to name another file.
    auto cnn = OpenDatabase(link);
    ASSERT_TRUE(QFile::copy(db, copy));
    ASSERT_TRUE(QFile::remove(link));
    ASSERT_TRUE(QFile::link(copy, link));
    EXPECT_TRUE(cnn->fileReplaced());
}

// A database file moved away while it is open (its folder renamed) refuses writes, and
// the error says that it was moved, not that it were read-only.
TEST_F(AdoTest, AWriteToAFileMovedAwayWhileOpenSaysSo)
{
    const QString moved = p.folder() + QStringLiteral("/weg.mdb");
    p.exec(QStringLiteral("SELECT count(*) FROM E1"));
    ASSERT_TRUE(QFile::rename(p.projectDbPath(), moved));
    QString text;
    try {
        addE1(1, QStringLiteral("A"), true);
    } catch (const VbError& e) {
        text = e.text();
    }
    EXPECT_TRUE(text.contains(QStringLiteral("Die Datenbankdatei wurde verschoben oder entfernt, während sie geöffnet "
                                             "war.")))
        << text.toStdString();
}
