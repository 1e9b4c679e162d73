// The column writer and reader under the single-value and array members: which rows
// a write leaves, what it stores, and what a read finds.
#include "DataFixture.h"

#include <functional>

namespace {

class ColumnTransfer : public DataTest {
protected:
    QStringList side1() { return rows("SELECT I1, Z FROM E3 WHERE ID = 7 AND K = 1 ORDER BY rowid"); }
};

// n values over m matched rows leave exactly n rows: the first ones updated in index
// order, new ones appended (without the running number, which only orders), the
// surplus deleted.
TEST_F(ColumnTransfer, WriteLeavesOneRowPerValue)
{
    struct Case {
        int existing;
        std::vector<float> Z;
        QStringList after;
    } cases[] = {
        {0, {1}, {"Null|1"}},
        {3, {1}, {"0|1"}},
        {3, {1, 2, 3}, {"0|1", "1|2", "2|3"}},
        {5, {1, 2, 3}, {"0|1", "1|2", "2|3"}},
        {3, {1, 2, 3, 4, 5}, {"0|1", "1|2", "2|3", "Null|4", "Null|5"}},
    };
    for (const Case& c : cases) {
        exec("DELETE FROM E3");
        layerRows(c.existing);
        auto v = view("E3");
        int yields = 0;
        SetDoEventsHook([&] { ++yields; });
        EXPECT_TRUE(v->DVTSF("Z", c.Z, "K", 1, "I1"));
        SetDoEventsHook(nullptr);
        EXPECT_EQ(side1(), c.after) << c.existing << " rows, " << c.Z.size() << " values";
        EXPECT_EQ(otherRows(), QStringList({"7|2|99", "8|1|98"}));
        EXPECT_EQ(yields, int(c.Z.size())) << "one yield per written row";
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(ColumnTransfer, AddedRowCarriesIdIndexValuesAndKeys)
{
    exec("CREATE TABLE T (ID INTEGER, N SMALLINT, M SMALLINT, V TEXT, A TEXT, B TEXT, C TEXT)");
    auto v = view("T");
    v->ESPK1("A");
    v->ESPK1W("a");
    v->ESPK2("B");
    v->ESPK2W("");   // a key without value is not written
    ASSERT_TRUE(v->DVTT("V", "x", "N", 4, "M"));
    EXPECT_EQ(rows("SELECT ID, N, M, V, A, B, C FROM T"), QStringList{"7|4|Null|x|a|Null|Null"});
    // The same call on the keys the row carries finds and updates it.
    v->ESPK2("");
    ASSERT_TRUE(v->DVTT("V", "y", "N", 4, "M"));
    EXPECT_EQ(rows("SELECT ID, N, V, A FROM T"), QStringList{"7|4|y|a"});
}

// A value column that is also the ID column or a given index column (names compared
// without regard to letter case) ends with the ID or index value, in a row found as in a
// row added: the value goes in first, then the ID, the index values and the keys.
TEST_F(ColumnTransfer, AValueColumnThatIsAnIndexColumnEndsWithTheIndexValue)
{
    exec("CREATE TABLE T (ID INTEGER, N SMALLINT, M INTEGER, V TEXT)");
    struct Case {
        const char* name;
        std::function<bool(clsDATEN&)> write;
        QString column;
        QString stored;
    };
    const Case cases[] = {
        {"index column N", [](clsDATEN& v) { return v.DVTI("N", 5, "N", int16_t(-1)); }, "N", "-1"},
        {"index column m for M", [](clsDATEN& v) { return v.DVTL("M", 7, "m", int32_t(40000)); }, "M", "40000"},
        {"the ID column", [](clsDATEN& v) { return v.DVTL("id", 9); }, "ID", "7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        exec("DELETE FROM T");
        auto v = view("T");
        ASSERT_TRUE(c.write(*v));   // adds the row
        EXPECT_EQ(rows("SELECT " + c.column + " FROM T"), QStringList{c.stored});
        ASSERT_TRUE(c.write(*v));   // finds it
        EXPECT_EQ(rows("SELECT " + c.column + " FROM T"), QStringList{c.stored});
    }
    EXPECT_TRUE(boxes().empty());
}

// A single-value write after another with the same selection writes into the row that
// one left, without looking for it, only while nothing else can have changed the rows:
// after a row is added through the connection, after a savepoint's rollback brings back
// a row the first write deleted, or after another program's commit between two
// transactions, the write finds every matched row again and leaves only the first.
TEST_F(ColumnTransfer, ASingleValueWriteFindsTheRowsAgainAfterAnythingChangedThem)
{
    auto second = [](clsDATEN& v) { return v.DVTS("Z", 2.0f, "K", 1, "I1"); };
    {
        SCOPED_TRACE("a row added through the connection");
        layerRows(1);
        auto v = view("E3");
        Transaction t(p.cnnX());
        ASSERT_TRUE(v->DVTS("Z", 1.0f, "K", 1, "I1"));
        exec("INSERT INTO E3 (ID, K, I1, Z) VALUES (7, 1, 5, 50)");
        ASSERT_TRUE(second(*v));
        t.Commit();
        EXPECT_EQ(side1(), QStringList{"0|2"});
    }
    {
        SCOPED_TRACE("a savepoint rolled back");
        exec("DELETE FROM E3");
        layerRows(2);
        auto v = view("E3");
        Transaction t(p.cnnX());
        {
            Transaction inner(p.cnnX());
            ASSERT_TRUE(v->DVTS("Z", 1.0f, "K", 1, "I1"));   // row 1 goes, row 0 takes 1
        }
        ASSERT_TRUE(second(*v));
        t.Commit();
        EXPECT_EQ(side1(), QStringList{"0|2"});
    }
    {
        SCOPED_TRACE("another program's commit between two transactions");
        exec("DELETE FROM E3");
        layerRows(1);
        auto v = view("E3");
        {
            Transaction t(p.cnnX());
            ASSERT_TRUE(v->DVTS("Z", 1.0f, "K", 1, "I1"));
            t.Commit();
        }
        OpenDatabase(p.projectDbPath())->Execute("INSERT INTO E3 (ID, K, I1, Z) VALUES (7, 1, 5, 50)");
        Transaction t(p.cnnX());
        ASSERT_TRUE(second(*v));
        t.Commit();
        EXPECT_EQ(side1(), QStringList{"0|2"});
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(ColumnTransfer, EmptyTextIsStoredAsNull)
{
    exec("INSERT INTO E1 (ID, KEN, KOM) VALUES (7, 'alt', 'x')");
    auto v = view("E1");
    EXPECT_TRUE(v->DVTT("KEN", ""));
    EXPECT_TRUE(v->DVTTF("KOM", std::vector<QString>{""}));
    EXPECT_EQ(rows("SELECT KEN, KOM FROM E1"), QStringList{"Null|Null"});
    QString KEN = "vorher";
    EXPECT_TRUE(v->DTVT("KEN", KEN));
    EXPECT_EQ(KEN, QString());
}

// A view without an ID column cannot write: nothing changes and the write says so.
TEST_F(ColumnTransfer, WriteWithoutIdColumnFails)
{
    exec("INSERT INTO E2 (ID, ZGWLS) VALUES (7, 1)");
    auto v = view("E2");
    v->ESPID("");
    answer({MsgResult::OK});
    EXPECT_FALSE(v->DVTS("ZGWLS", 2.5f));
    EXPECT_EQ(rows("SELECT ID, ZGWLS FROM E2"), QStringList{"7|1"});
    ASSERT_EQ(boxes().size(), 1u);
    ExpectDataError(boxes()[0], "Wert 2,5 kann nicht in die Spalte ZGWLS der Tabelle E2 gespeichert werden!");
}

TEST_F(ColumnTransfer, WriteOfAValueTheColumnRefusesFails)
{
    auto v = view("A1");
    answer({MsgResult::OK, MsgResult::OK});
    EXPECT_FALSE(v->DVTS("WHQ", 1.5f));
    EXPECT_FALSE(v->DVTT("WHL", "viel"));
    ASSERT_EQ(boxes().size(), 2u);
    ExpectDataError(boxes()[0], "Wert 1,5 kann nicht in die Spalte WHQ der Tabelle A1 gespeichert werden!");
    ExpectDataError(boxes()[1], "Wert viel kann nicht in die Spalte WHL der Tabelle A1 gespeichert werden!");
}

// A text index value that is no number never reaches the database: the write fails
// instead of matching the rows of another column's value.
TEST_F(ColumnTransfer, TextIndexValueThatIsNoNumberFails)
{
    layerRows(2);
    auto v = view("E3");
    answer({MsgResult::OK, MsgResult::OK});
    EXPECT_FALSE(v->DVTS("Z", 5.0f, "K", "I1"));
    float Z = -1;
    EXPECT_FALSE(v->DTVS("Z", Z, "K", "I1"));
    EXPECT_EQ(Z, -1.0f);
    EXPECT_EQ(side1(), QStringList({"0|10", "1|11"}));
    ASSERT_EQ(boxes().size(), 2u);
    ExpectDataError(boxes()[1], "Wert  kann nicht aus der Spalte Z der Tabelle E3 eingelesen werden!");
    // A number given as text is a number.
    EXPECT_TRUE(v->DTVS("Z", Z, "K", "1", "I1"));
    EXPECT_EQ(Z, 10.0f);
}

// A Boolean index value would be stored as -1 but compared as True (1), so that every
// write added a row: it is refused like any index value that is no number.
TEST_F(ColumnTransfer, BooleanIndexValueIsRefused)
{
    layerRows(1);
    auto v = view("E3");
    answer({MsgResult::OK, MsgResult::OK});
    for (int write = 0; write < 2; ++write)
        EXPECT_FALSE(v->DVTS("Z", 5.0f, "K", true, "I1"));
    EXPECT_EQ(rows("SELECT COUNT(*) FROM E3"), QStringList({"3"}));
    ASSERT_EQ(boxes().size(), 2u);
    ExpectDataError(boxes()[1], "Wert 5 kann nicht in die Spalte Z der Tabelle E3 gespeichert werden!");
}

// A key value with a quote is compared and stored as it is.
TEST_F(ColumnTransfer, KeyValueWithQuote)
{
    exec("CREATE TABLE T (ID INTEGER, V TEXT, A TEXT)");
    exec("INSERT INTO T VALUES (7, 'other', 'x'' OR ''1''=''1')");
    auto v = view("T");
    v->ESPK1("A");
    v->ESPK1W("O'Brien");
    EXPECT_TRUE(v->DVTT("V", "mine"));
    QString V;
    EXPECT_TRUE(v->DTVT("V", V));
    EXPECT_EQ(V, QStringLiteral("mine"));
    EXPECT_EQ(rows("SELECT V, A FROM T ORDER BY rowid"), QStringList({"other|x' OR '1'='1", "mine|O'Brien"}));
}

TEST_F(ColumnTransfer, ReadUsesTheFirstMatchedRow)
{
    exec("INSERT INTO E3 (ID, K, I1, Z) VALUES (7, 1, 2, 12), (7, 1, 0, 10), (7, 2, 0, 20)");
    auto v = view("E3");
    float Z = 0;
    EXPECT_TRUE(v->DTVS("Z", Z, "K", 1, "I1"));
    EXPECT_EQ(Z, 10.0f);
    EXPECT_TRUE(v->DTVS("Z", Z, "K", 2, "I1"));
    EXPECT_EQ(Z, 20.0f);
}

TEST_F(ColumnTransfer, ReadOfAMissingTableFails)
{
    auto v = view("E9");
    float ZGWLS = 4;
    answer({MsgResult::OK});
    EXPECT_FALSE(v->DTVS("ZGWLS", ZGWLS));
    EXPECT_EQ(ZGWLS, 4.0f);
    ASSERT_EQ(boxes().size(), 1u);
    ExpectDataError(boxes()[0], "Wert  kann nicht aus der Spalte ZGWLS der Tabelle E9 eingelesen werden!");
}

// A Single survives the trip through its column exactly.
TEST_F(ColumnTransfer, SingleIsStoredExactly)
{
    auto v = view("A1");
    for (float x : {0.0f, -73.773598f, -66.226402f, 1e-7f, 3.4e38f}) {
        ASSERT_TRUE(v->DVTS("WVL", x));
        float back = 1;
        ASSERT_TRUE(v->DTVS("WVL", back));
        EXPECT_EQ(back, x);
    }
}

// A value typed with the locale's decimal comma goes into a number column as the number.
TEST_F(ColumnTransfer, TextInLocaleFormIsStoredAsNumber)
{
    auto v = view("E2");
    ASSERT_TRUE(v->DVTT("ZGWLS", "1,5"));
    float z = 0;
    ASSERT_TRUE(v->DTVS("ZGWLS", z));
    EXPECT_EQ(z, 1.5f);
    QString text;
    ASSERT_TRUE(v->DTVT("ZGWLS", text));
    EXPECT_EQ(text, QStringLiteral("1,5"));
}

} // namespace
