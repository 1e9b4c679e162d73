// Variables to columns and back: every type, missing rows, Nulls, the array members.
#include "DataFixture.h"
#include "platform/VbError.h"
#include "support/TestHelpers.h"

namespace {

class VariableMembers : public DataTest {
protected:
    void SetUp() override
    {
        exec("CREATE TABLE TV (ID INTEGER NOT NULL, N SMALLINT, D DATETIME, B BOOLEAN, T TEXT, I SMALLINT, "
             "L INTEGER, S SINGLE, DB DOUBLE, V TEXT)");
    }
};

// Each single-value pair writes into the first matched row and reads back the same.
TEST_F(VariableMembers, SingleValuesRoundTrip)
{
    auto v = view("TV");
    const VbDate date{45000.5};
    ASSERT_TRUE(v->DVTA("D", date));
    ASSERT_TRUE(v->DVTB("B", true));
    ASSERT_TRUE(v->DVTT("T", "Pfahl"));
    ASSERT_TRUE(v->DVTI("I", -123));
    ASSERT_TRUE(v->DVTL("L", 40000));
    ASSERT_TRUE(v->DVTS("S", 2.75f));
    ASSERT_TRUE(v->DVTD("DB", 1.0 / 3.0));
    ASSERT_TRUE(v->DVTV("V", Variant("frei")));
    EXPECT_EQ(rows("SELECT ID, B, T, I, L FROM TV"), QStringList{"7|True|Pfahl|-123|40000"});

    VbDate D;
    bool B = false;
    QString T;
    int16_t I = 0;
    int32_t L = 0;
    float S = 0;
    double DB = 0;
    Variant V;
    EXPECT_TRUE(v->DTVA("D", D));
    EXPECT_TRUE(v->DTVB("B", B));
    EXPECT_TRUE(v->DTVT("T", T));
    EXPECT_TRUE(v->DTVI("I", I));
    EXPECT_TRUE(v->DTVL("L", L));
    EXPECT_TRUE(v->DTVS("S", S));
    EXPECT_TRUE(v->DTVD("DB", DB));
    EXPECT_TRUE(v->DTVV("V", V));
    EXPECT_EQ(D, date);
    EXPECT_TRUE(B);
    EXPECT_EQ(T, QStringLiteral("Pfahl"));
    EXPECT_EQ(I, -123);
    EXPECT_EQ(L, 40000);
    EXPECT_EQ(S, 2.75f);
    EXPECT_EQ(DB, 1.0 / 3.0);
    EXPECT_EQ(V, Variant("frei"));
    EXPECT_TRUE(boxes().empty());
}

// No matched row and a Null column read alike: the empty value converted, True.
TEST_F(VariableMembers, MissingRowAndNullReadAsEmpty)
{
    for (const char* setup : {"", "INSERT INTO TV (ID) VALUES (7)"}) {
        exec("DELETE FROM TV");
        if (*setup)
            exec(setup);
        auto v = view("TV");
        VbDate D{5};
        bool B = true;
        QString T = "x";
        int16_t I = 5;
        int32_t L = 5;
        float S = 5;
        double DB = 5;
        Variant V = Variant("x");
        EXPECT_TRUE(v->DTVA("D", D) && v->DTVB("B", B) && v->DTVT("T", T) && v->DTVI("I", I) && v->DTVL("L", L)
                    && v->DTVS("S", S) && v->DTVD("DB", DB) && v->DTVV("V", V));
        EXPECT_EQ(D, VbDate{0});
        EXPECT_FALSE(B);
        EXPECT_EQ(T, QString());
        EXPECT_EQ(I, 0);
        EXPECT_EQ(L, 0);
        EXPECT_EQ(S, 0.0f);
        EXPECT_EQ(DB, 0.0);
        EXPECT_TRUE(V.isEmpty()) << "never Null";
    }
    EXPECT_TRUE(boxes().empty());
}

// A value the variable cannot hold is an error for the caller; the variable keeps its value.
TEST_F(VariableMembers, ConversionErrorsReachTheCaller)
{
    exec("INSERT INTO TV (ID, L, T) VALUES (7, 40000, 'abc')");
    auto v = view("TV");
    int16_t I = 3;
    EXPECT_EQ(VbErrorOf([&] { v->DTVI("L", I); }), VbErr::Overflow);
    EXPECT_EQ(I, 3);
    int32_t L = 0;
    EXPECT_TRUE(v->DTVL("L", L));
    EXPECT_EQ(L, 40000);
    float S = 2;
    EXPECT_THROW(v->DTVS("T", S), VbError);
    EXPECT_EQ(S, 2.0f);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(VariableMembers, ArrayWritersWriteOneRowPerElement)
{
    auto v = view("TV");
    EXPECT_TRUE(v->DVTBF("B", std::vector<bool>{true, false, true}, "N"));
    const QStringList byBF = rows("SELECT B FROM TV ORDER BY rowid");
    exec("DELETE FROM TV");
    EXPECT_TRUE(v->DVTVF("B", std::vector<bool>{true, false, true}, "N"));
    EXPECT_EQ(rows("SELECT B FROM TV ORDER BY rowid"), byBF);
    EXPECT_EQ(byBF, QStringList({"True", "False", "True"}));

    EXPECT_TRUE(v->DVTIF("I", std::vector<int16_t>{4, 5}, "N"));
    EXPECT_TRUE(v->DVTTF("T", std::vector<QString>{"a", ""}, "N"));
    EXPECT_TRUE(v->DVTSF("S", std::vector<float>{0.5f, 1.5f}, "N"));
    EXPECT_EQ(rows("SELECT I, T, S FROM TV ORDER BY rowid"), QStringList({"4|a|0,5", "5|Null|1,5"}));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(VariableMembers, ArrayWriteFailureShowsItsMessage)
{
    auto v = view("E3");
    answer({MsgResult::OK, MsgResult::OK});
    EXPECT_FALSE(v->DVTSF("ZZ", std::vector<float>{1, 2}, "K", 1, "I1"));
    // An array without an element 0 cannot be written.
    EXPECT_FALSE(v->DVTSF("Z", std::vector<float>{}, "K", 1, "I1"));
    ASSERT_EQ(boxes().size(), 2u);
    ExpectDataError(boxes()[0], "Werte können nicht in Spalte ZZ der Tabelle E3 gespeichert werden!");
    ExpectDataError(boxes()[1], "Werte können nicht in Spalte Z der Tabelle E3 gespeichert werden!");
}

class ArrayRead : public DataTest {
protected:
    // Five rows of record 7, side 1: Z = 1, Null, 3, 4, 5.
    void SetUp() override
    {
        exec("INSERT INTO E3 (ID, K, I1, Z) VALUES (7, 1, 0, 1), (7, 1, 1, NULL), (7, 1, 2, 3), (7, 1, 3, 4), "
             "(7, 1, 4, 5), (7, 2, 0, 9)");
    }
    const QString message = QStringLiteral(
        "Werte der Spalte Z der Tabelle E3 können nicht aus der Spalte Z eingelesen werden!\nVB-Error: ");
};

TEST_F(ArrayRead, FillsTheElementsOfTheRowsAndKeepsThoseOfNulls)
{
    auto v = view("E3");
    std::vector<float> Z{-1, -1, -1, -1, -1, -1};
    EXPECT_TRUE(v->DTVSF("Z", Z, "K", 1, "I1"));
    EXPECT_EQ(Z, (std::vector<float>{1, -1, 3, 4, 5, -1}));
    EXPECT_TRUE(boxes().empty());
}

// Rows beyond the array show the box once each: OK goes on, Cancel ends with False.
TEST_F(ArrayRead, RowsBeyondTheArrayShowTheBox)
{
    struct Case {
        std::vector<MsgResult> answers;
        bool result;
        size_t boxes;
    } cases[] = {{{MsgResult::OK, MsgResult::OK}, true, 2}, {{MsgResult::Cancel}, false, 1}};
    for (const Case& c : cases) {
        p.dialogs().shown.clear();
        for (MsgResult a : c.answers)
            p.dialogs().msgAnswers.push_back(a);
        auto v = view("E3");
        std::vector<float> Z{-1, -1, -1};
        EXPECT_EQ(v->DTVSF("Z", Z, "K", 1, "I1"), c.result);
        EXPECT_EQ(Z, (std::vector<float>{1, -1, 3}));
        ASSERT_EQ(boxes().size(), c.boxes);
        for (const MsgBoxRequest& box : boxes())
            ExpectGuardBox(box, "Datenfehler", message + "9\n");
    }
}

TEST_F(ArrayRead, NoRowsLeaveTheArray)
{
    auto v = view("E3", 8);
    std::vector<float> Z{-1, -2};
    EXPECT_TRUE(v->DTVSF("Z", Z, "K", 1, "I1"));
    EXPECT_EQ(Z, (std::vector<float>{-1, -2}));
}

// A failing query shows the box and ends; OK does not run into a chain of boxes.
TEST_F(ArrayRead, FailingQueryEndsAfterItsBoxes)
{
    auto v = view("E9");
    std::vector<float> Z{-1};
    answer({MsgResult::OK, MsgResult::OK, MsgResult::OK});
    EXPECT_TRUE(v->DTVSF("Z", Z, "K", 1, "I1"));
    EXPECT_EQ(Z, std::vector<float>{-1});
    EXPECT_EQ(boxes().size(), 3u);
    EXPECT_TRUE(boxes()[0].text.startsWith(
        "Werte der Spalte Z der Tabelle E9 können nicht aus der Spalte Z eingelesen werden!\nVB-Error: "));
    p.dialogs().shown.clear();
    answer({MsgResult::Cancel});
    EXPECT_FALSE(v->DTVSF("Z", Z, "K", 1, "I1"));
    EXPECT_EQ(boxes().size(), 1u);
}

// Every array reader converts to its element type; a value that does not convert
// shows the box for its row and the others are read.
TEST_F(ArrayRead, EachReaderConvertsToItsType)
{
    exec("CREATE TABLE TV (ID INTEGER NOT NULL, N SMALLINT, T TEXT)");
    exec("INSERT INTO TV VALUES (7, 0, '1'), (7, 1, NULL), (7, 2, '0'), (7, 3, 'x')");
    auto v = view("TV");
    std::vector<QString> T(4, "-");
    std::vector<int16_t> I(4, -1);
    std::vector<bool> B(4, false);
    std::vector<Variant> V(4);
    std::vector<VbDate> D(4, VbDate{-1});
    p.dialogs().msgAnswers.assign(5, MsgResult::OK);
    EXPECT_TRUE(v->DTVTF("T", T, "N"));
    EXPECT_TRUE(v->DTVIF("T", I, "N"));
    EXPECT_TRUE(v->DTVBF("T", B, "N"));
    EXPECT_TRUE(v->DTVVF("T", V, "N"));
    EXPECT_TRUE(v->DTVAF("T", D, "N"));
    EXPECT_EQ(T, (std::vector<QString>{"1", "-", "0", "x"}));
    EXPECT_EQ(I, (std::vector<int16_t>{1, -1, 0, -1}));
    EXPECT_EQ(B, (std::vector<bool>{true, false, false, false}));
    EXPECT_EQ(V, (std::vector<Variant>{Variant("1"), Variant(), Variant("0"), Variant("x")}));
    EXPECT_EQ(D[1], VbDate{-1});
    // 'x' is no Integer, no Boolean; '1', '0' and 'x' are no dates.
    EXPECT_EQ(boxes().size(), 5u);
    for (const MsgBoxRequest& box : boxes())
        EXPECT_TRUE(box.text.contains("VB-Error: 13\n")) << box.text.toStdString();
}

TEST_F(VariableMembers, CollectionHoldsTheNonNullValues)
{
    exec("INSERT INTO TV (ID, N, S) VALUES (7, 0, 1), (7, 1, NULL), (7, 2, 3)");
    auto v = view("TV");
    std::optional<clsDATEN::Collection> X;
    EXPECT_TRUE(v->DTVCOL("S", X, "N"));
    ASSERT_TRUE(X.has_value());
    EXPECT_EQ(*X, (clsDATEN::Collection{Variant(1.0f), Variant(3.0f)}));

    // No rows: X stays as it was (here: nothing).
    auto other = view("TV", 8);
    std::optional<clsDATEN::Collection> none;
    EXPECT_TRUE(other->DTVCOL("S", none, "N"));
    EXPECT_FALSE(none.has_value());
    // Any error: False, without a message.
    EXPECT_FALSE(v->DTVCOL("NIX", X, "N"));
    EXPECT_TRUE(boxes().empty());
}

} // namespace
