// The statement texts a view builds, exactly.
#include "data/DatenSql.h"
#include "platform/VbError.h"
#include "support/TestHelpers.h"
#include <gtest/gtest.h>

namespace {

ViewFilter record(const QString& table, int32_t id = 7)
{
    ViewFilter f;
    f.ETABELLE = table;
    f.ESPIDW = id;
    return f;
}

ViewFilter withKeys(ViewFilter f, std::array<QString, 3> names, std::array<QString, 3> values)
{
    f.ESPK = names;
    f.ESPKW = values;
    return f;
}

ViewFilter withoutId(ViewFilter f, const QString& ESPID = {}, int32_t ESPIDW = 0)
{
    f.ESPID = ESPID;
    f.ESPIDW = ESPIDW;
    return f;
}

using V = std::optional<Variant>;

struct DTCase {
    const char* name;
    ViewFilter f;
    QString SPV;
    IndexArgs idx;
    QString sql;
};

const DTCase dtCases[] = {
    {"layer rows", record("E3"), "Z", {{"K", "I1"}, {V(1), {}}},
     "SELECT [Z],[ID],[K],[I1] FROM [E3] WHERE [ID] = 7 AND [K]=1 ORDER BY [K],[I1]"},
    {"single result", record("A1"), "WHL", {}, "SELECT [WHL],[ID] FROM [A1] WHERE [ID] = 7"},
    {"running number", record("A2"), "I4", {{"K", "OU", "I4"}, {V(1), V(0), V(0)}},
     "SELECT [I4],[ID],[K],[OU],[I4] FROM [A2] WHERE [ID] = 7 AND [K]=1 AND [OU]=0 AND [I4]=0 ORDER BY [K],[OU],[I4]"},
    {"section rows", record("A3"), "WH", {{"K", "I5I", "I5"}, {V(2), V(1), V(0)}},
     "SELECT [WH],[ID],[K],[I5I],[I5] FROM [A3] WHERE [ID] = 7 AND [K]=2 AND [I5I]=1 AND [I5]=0 ORDER BY [K],[I5I],[I5]"},
    {"diagram row", record("G0"), "OX", {{"IDOBJEKT"}, {V(int16_t(11))}},
     "SELECT [OX],[ID],[IDOBJEKT] FROM [G0] WHERE [ID] = 7 AND [IDOBJEKT]=11 ORDER BY [IDOBJEKT]"},
    {"result page read", record("A2"), "X", {{"K", "OU", "I4"}, {V(1), V(0), {}}},
     "SELECT [X],[ID],[K],[OU],[I4] FROM [A2] WHERE [ID] = 7 AND [K]=1 AND [OU]=0 ORDER BY [K],[OU],[I4]"},
    {"grid column", record("E4"), "I2", {{"K", "I2"}, {V(1), {}}},
     "SELECT [I2],[ID],[K],[I2] FROM [E4] WHERE [ID] = 7 AND [K]=1 ORDER BY [K],[I2]"},
    {"designation", record("E1"), "KEN", {}, "SELECT [KEN],[ID] FROM [E1] WHERE [ID] = 7"},
    {"presets by key", withKeys(withoutId(record("TREMOL_VE1")), {"AKVK"}, {"GEO1"}), "IDK", {},
     "SELECT [IDK],[AKVK] FROM [TREMOL_VE1] WHERE [AKVK] ='GEO1'"},
    {"presets by ID", withoutId(record("TREMOL_VE1"), "IDK", 3), "ZL", {},
     "SELECT [ZL],[IDK] FROM [TREMOL_VE1] WHERE [IDK] = 3"},
    {"presets list", withoutId(record("TREMOL_VE2"), "IDK", 3), "SPALTE", {{"MNR"}, {V(0)}},
     "SELECT [SPALTE],[IDK],[MNR] FROM [TREMOL_VE2] WHERE [IDK] = 3 AND [MNR]=0 ORDER BY [MNR]"},
    {"three keys", withKeys(record("T"), {"A", "B", "C"}, {"a", "b", "c"}), "V", {},
     "SELECT [V],[ID],[A],[B],[C] FROM [T] WHERE [ID] = 7 AND [A] ='a' AND [B] ='b'  AND [C] ='c'"},
    {"deletion", record("E3"), "ID", {{"K"}, {V(2)}},
     "SELECT [ID],[ID],[K] FROM [E3] WHERE [ID] = 7 AND [K]=2 ORDER BY [K]"},
    {"numeric text value", record("E3"), "Z", {{"K"}, {V("2")}},
     "SELECT [Z],[ID],[K] FROM [E3] WHERE [ID] = 7 AND [K]=2 ORDER BY [K]"},
    // A quote in a key value cannot end the text early.
    {"quote in a key", withKeys(record("T"), {"A"}, {"O'Brien"}), "V", {},
     "SELECT [V],[ID],[A] FROM [T] WHERE [ID] = 7 AND [A] ='O''Brien'"},
    {"question marks in a name and a key", withKeys(record("T"), {"B?"}, {"wer?"}), "A?", {},
     "SELECT [A?],[ID],[B?] FROM [T] WHERE [ID] = 7 AND [B?] ='wer?'"},
};

TEST(DatenSql, DTStatementTexts)
{
    for (const DTCase& c : dtCases)
        EXPECT_EQ(DTStatement(c.f, c.SPV, c.idx).literal().toStdString(), c.sql.toStdString()) << c.name;
}

// A view's statements reuse a text only for the same names and the same values given.
TEST(DatenSql, ViewStatementsMatchTheBuiltOnes)
{
    DTStatements statements;
    const std::pair<IndexArgs, const char*> sameNames[] = {
        {{{"K", "I1"}, {V(1), V(2)}}, "SELECT [Z],[ID],[K],[I1] FROM [E3] WHERE [ID] = 7 AND [K]=1 AND [I1]=2 ORDER BY [K],[I1]"},
        {{{"K", "I1"}, {V(1), {}}}, "SELECT [Z],[ID],[K],[I1] FROM [E3] WHERE [ID] = 7 AND [K]=1 ORDER BY [K],[I1]"},
        {{{"K", "I1"}, {V(), V(3)}}, "SELECT [Z],[ID],[K],[I1] FROM [E3] WHERE [ID] = 7 AND [I1]=3 ORDER BY [K],[I1]"},
    };
    for (int round = 0; round < 2; ++round) {
        for (const DTCase& c : dtCases)
            EXPECT_EQ(statements(c.f, c.SPV, c.idx).literal().toStdString(), c.sql.toStdString()) << c.name;
        for (const auto& [idx, sql] : sameNames)
            EXPECT_EQ(statements(record("E3"), "Z", idx).literal().toStdString(), sql);
    }
}

// The statement runs with its values bound, as the numbers and texts they stand for.
TEST(DatenSql, DTStatementBindsItsValues)
{
    const LocaleScope german(German());
    const SqlStatement st = DTStatement(withKeys(record("T"), {"A"}, {"O'Brien"}), "V", {{"K", "I"}, {V(1.5f), V("2")}});
    EXPECT_EQ(st.text, "SELECT [V],[ID],[K],[I],[A] FROM [T] WHERE [ID] = ? AND [K]=? AND [I]=? AND [A] =? ORDER BY [K],[I]");
    EXPECT_EQ(st.values, (std::vector<Variant>{int32_t(7), 1.5, int32_t(2), QStringLiteral("O'Brien")}));
}

TEST(DatenSql, ActiveRecordStatement)
{
    EXPECT_EQ(ActiveRecordStatement(ViewFilter{}), QStringLiteral("SELECT [ID] FROM [E1] WHERE [AKT]=true"));
}

// An index value in text that is no number would stand unquoted in the statement and
// could be read as a column name ([K]=I1): it is refused before any statement exists.
TEST(DatenSql, TextIndexValueThatIsNoNumberIsTypeMismatch)
{
    struct Case {
        V value;
        bool refused;
    } cases[] = {{V("I1"), true}, {V(""), true}, {V("1 OR 1=1"), true}, {{}, true},
                 {V("3"), false}, {V(int16_t(3)), false}, {V(true), true}, {V(Variant()), true},
                 {V(VbDate{45000}), true}, {V(Variant::Null()), true}};
    for (const Case& c : cases)
        EXPECT_EQ(VbErrorOf([&] { SqlIndexValue(c.value); }), c.refused ? VbErr::TypeMismatch : 0);
    EXPECT_THROW(DTStatement(record("E3"), "Z", {{"K"}, {V("I1")}}), VbError);
    // A fractional index value stands with "." whatever the locale.
    const LocaleScope german(German());
    EXPECT_EQ(SqlIndexValue(V(1.5f)), QStringLiteral("1.5"));
    EXPECT_EQ(SqlIndexValue(V("1,5")), QStringLiteral("1.5"));
    EXPECT_EQ(SqlIndexValue(V(int32_t(40000))), QStringLiteral("40000"));
}

struct IndexCase {
    const char* name;
    ViewFilter f;
    IndexArgs idx;
    QString sql;
};

const IndexCase indexCases[] = {
    {"layer count", record("E3"), {{"K", "I1"}, {V(1)}}, "SELECT [I1] FROM E3 WHERE [K]=1 AND [ID] = 7 ORDER BY [I1]"},
    {"one column", record("E3"), {{"I1"}, {}}, "SELECT [I1] FROM E3 WHERE [ID] = 7 ORDER BY [I1]"},
    {"three columns", record("A2"), {{"K", "OU", "I4"}, {V(1), V(0)}},
     "SELECT [I4] FROM A2 WHERE [K]=1 AND [OU]=0 AND [ID] = 7 ORDER BY [I4]"},
    {"four columns", record("A2"), {{"K", "OU", "I4", "X"}, {V(1), V(0), V(2)}},
     "SELECT [X] FROM A2 WHERE [K]=1 AND [OU]=0 AND [I4]=2 AND [ID] = 7 ORDER BY [X]"},
    {"presets", withoutId(record("TREMOL_VE2"), "IDK", 3), {{"MNR"}, {}},
     "SELECT [MNR] FROM TREMOL_VE2 WHERE [IDK] = 3 ORDER BY [MNR]"},
    {"keys", withKeys(record("T"), {"A", "B", "C"}, {"a", "b", "c"}), {{"N"}, {}},
     "SELECT [N] FROM T WHERE [A] ='a' AND [B]='b' AND [C]='c' AND [ID] = 7 ORDER BY [N]"},
    {"keys without ID", withKeys(withoutId(record("T")), {"A"}, {"it's"}), {{"N"}, {}},
     "SELECT [N] FROM T WHERE [A] ='it''s' ORDER BY [N]"},
};

TEST(DatenSql, INDEXStatementTexts)
{
    for (const IndexCase& c : indexCases)
        EXPECT_EQ(INDEXStatement(c.f, c.idx).toStdString(), c.sql.toStdString()) << c.name;
}

TEST(DatenSql, CountedColumnIsTheDeepestNamedOneAndAGapHasNone)
{
    struct Case {
        std::array<QString, 4> names;
        int counted;
    } cases[] = {{{"A"}, 0}, {{"A", "B"}, 1}, {{"A", "B", "C"}, 2}, {{"A", "B", "C", "D"}, 3},
                 {{"A", "", "C"}, -1}, {{"A", "B", "", "D"}, -1}, {{"A", "", "", "D"}, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(CountedIndex(IndexArgs{c.names, {}}), c.counted) << c.names[0].toStdString();
}

TEST(DatenSql, ListStatementTexts)
{
    const ViewFilter f = record("E1");
    EXPECT_EQ(ListStatement(f, "ID", true), QStringLiteral("SELECT [ID] FROM [E1] WHERE [AKT]=true and [ID]<>0 ORDER BY [ID]"));
    EXPECT_EQ(ListStatement(f, "ID", false), QStringLiteral("SELECT [ID] FROM [E1] WHERE [ID]<>0 ORDER BY [KEN]"));
    EXPECT_EQ(ListStatement(f, "KEN", true), QStringLiteral("SELECT [KEN] FROM [E1] WHERE [AKT]=true and [ID]<>0 ORDER BY [ID]"));
    EXPECT_EQ(ListStatement(f, "KEN", false), QStringLiteral("SELECT [KEN] FROM [E1] WHERE [ID]<>0 ORDER BY [KEN]"));
}

TEST(DatenSql, IDKRITStatementTexts)
{
    std::array<Criterion, 4> one{Criterion{"KEN", V("ab"), "LIKE"}};
    NormaliseOperators(one);
    EXPECT_EQ(IDKRITStatement("E1", one), QStringLiteral("SELECT [ID],[KEN] FROM [E1] WHERE [KEN]LIKE'%ab%' ORDER BY [KEN]"));

    std::array<Criterion, 4> two{Criterion{"KEN", V("ab"), "LIKE"}, Criterion{"ID", V(5), ">"}};
    NormaliseOperators(two);
    EXPECT_EQ(IDKRITStatement("E1", two),
              QStringLiteral("SELECT [ID],[KEN],[ID] FROM [E1] WHERE [KEN]LIKE'%ab%' AND [ID]>5 ORDER BY [KEN],[ID]"));

    std::array<Criterion, 4> texts{Criterion{"KEN", V("a'b"), "LIKE"}, Criterion{"KOM", V("x"), "="}};
    NormaliseOperators(texts);
    EXPECT_EQ(IDKRITStatement("E1", texts),
              QStringLiteral("SELECT [ID],[KEN],[KOM] FROM [E1] WHERE [KEN]LIKE'%a''b%' AND [KOM]='x' ORDER BY [KEN],[KOM]"));

    // Numbers stand with "." whatever the locale, and a later criterion can be the
    // first one with a value.
    const LocaleScope german(German());
    std::array<Criterion, 4> later{Criterion{"KEN", {}, "="}, Criterion{"Z", V(2.5f), ">"}};
    NormaliseOperators(later);
    EXPECT_EQ(IDKRITStatement("E3", later), QStringLiteral("SELECT [ID],[KEN],[Z] FROM [E3] WHERE [Z]>2.5 ORDER BY [KEN],[Z]"));
}

TEST(DatenSql, OperatorsAreNormalisedByTheValueType)
{
    struct Case {
        V value;
        QString given, normal;
    } cases[] = {
        {V(5), "<", "<"},     {V(5), ">", ">"},       {V(5), "<=", "<="}, {V(5), ">=", ">="},
        {V(5), "<>", "<>"},   {V(5), "LIKE", "="},    {V(5), "=<", "="},  {V(5), "", "="},
        {V("x"), "LIKE", "LIKE"}, {V("x"), "like", "="}, {V("x"), ">", "="}, {{}, "<", "<"},
        {{}, "?", "="},
    };
    for (const Case& c : cases) {
        std::array<Criterion, 4> criteria{Criterion{"C", c.value, c.given}};
        NormaliseOperators(criteria);
        EXPECT_EQ(criteria[0].SPO, c.normal) << c.given.toStdString();
    }
}

} // namespace
