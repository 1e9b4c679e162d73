// Counting, listing, deleting and searching records.
#include "DataFixture.h"
#include "platform/VbError.h"

namespace {

using Counting = DataTest;

TEST_F(Counting, INDEXGivesFirstLastAndCount)
{
    struct Case {
        const char* runningNumbers;
        int16_t MINI, MAXI, AN;
    } cases[] = {{"", 0, 0, 0}, {"0,1,2,3,4,5", 0, 5, 6}, {"7,2,3", 2, 7, 3}};
    for (const Case& c : cases) {
        exec("DELETE FROM E3");
        exec("INSERT INTO E3 (ID, K, I1) VALUES (7, 2, 100), (8, 1, 100)");
        for (const QString& n : QString(c.runningNumbers).split(',', Qt::SkipEmptyParts))
            exec("INSERT INTO E3 (ID, K, I1) VALUES (7, 1, " + n + ")");
        auto v = view("E3");
        int16_t MINI = -1, MAXI = -1, AN = -1;
        v->INDEX(MINI, MAXI, AN, "K", 1, "I1");
        EXPECT_EQ(std::tuple(MINI, MAXI, AN), std::tuple(c.MINI, c.MAXI, c.AN)) << c.runningNumbers;
        int32_t LMINI = -1, LMAXI = -1, LAN = -1;
        v->INDEXL(LMINI, LMAXI, LAN, "K", 1, "I1");
        EXPECT_EQ(std::tuple(LMINI, LMAXI, LAN), std::tuple(int32_t(c.MINI), int32_t(c.MAXI), int32_t(c.AN)));
        Variant VMINI, VMAXI;
        int16_t VAN = -1;
        v->INDEXV(VMINI, VMAXI, VAN, "K", 1, "I1");
        EXPECT_EQ(CInt(VMINI), c.MINI);
        EXPECT_EQ(CInt(VMAXI), c.MAXI);
        EXPECT_EQ(VAN, c.AN);
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(Counting, CountedColumnWithoutValuesCountsTheRecord)
{
    exec("INSERT INTO A2 (ID, K, OU, I4, X) VALUES (7, 1, 0, 0, 4), (7, 1, 0, 1, 6), (7, 2, 1, 0, 5), (8, 1, 0, 0, 1)");
    auto v = view("A2");
    int16_t MINI, MAXI, AN;
    v->INDEX(MINI, MAXI, AN, "X");
    EXPECT_EQ(std::tuple(MINI, MAXI, AN), std::tuple(int16_t(4), int16_t(6), int16_t(3)));
    v->INDEX(MINI, MAXI, AN, "K", 1, "OU", 0, "I4");
    EXPECT_EQ(std::tuple(MINI, MAXI, AN), std::tuple(int16_t(0), int16_t(1), int16_t(2)));
    v->INDEX(MINI, MAXI, AN, "K", 1, "OU", 0, "I4", 1, "X");
    EXPECT_EQ(std::tuple(MINI, MAXI, AN), std::tuple(int16_t(6), int16_t(6), int16_t(1)));
}

// Whole-number conversion rounds halves to even.
TEST_F(Counting, INDEXRoundsHalvesToEven)
{
    exec("INSERT INTO E3 (ID, K, I1, KF) VALUES (7, 1, 0, 2.5), (7, 1, 1, 3.5)");
    auto v = view("E3");
    int16_t MINI, MAXI, AN;
    v->INDEX(MINI, MAXI, AN, "K", 1, "KF");
    EXPECT_EQ(std::tuple(MINI, MAXI, AN), std::tuple(int16_t(2), int16_t(4), int16_t(2)));
}

TEST_F(Counting, NullFirstValue)
{
    exec("INSERT INTO E3 (ID, K, I1, Z) VALUES (7, 1, 0, NULL), (7, 1, 1, 5)");
    auto v = view("E3");
    Variant MINI, MAXI;
    int16_t AN = 0;
    v->INDEXV(MINI, MAXI, AN, "K", 1, "Z");
    EXPECT_TRUE(MINI.isNull());
    EXPECT_EQ(CInt(MAXI), 5);
    EXPECT_EQ(AN, 2);
    EXPECT_TRUE(boxes().empty());

    int16_t IMINI = -1, IMAXI = -1, IAN = -1;
    answer({MsgResult::OK, MsgResult::OK});
    v->INDEX(IMINI, IMAXI, IAN, "K", 1, "Z");
    ASSERT_EQ(boxes().size(), 1u);
    ExpectGuardBox(boxes()[0], "Index", "VB-Error: 94\n");
    EXPECT_EQ(std::tuple(IMINI, IMAXI, IAN), std::tuple(int16_t(-1), int16_t(5), int16_t(2)));

    int32_t LMINI = -1, LMAXI = -1, LAN = -1;
    v->INDEXL(LMINI, LMAXI, LAN, "K", 1, "Z");
    ASSERT_EQ(boxes().size(), 2u);
    ExpectGuardBox(boxes()[1], "Datenfehler", "VB-Error: 94\n");
}

// A gap in the index columns and a text value that is no number fail in the box;
// Cancel leaves the outputs as they stand, OK sets them to 0.
TEST_F(Counting, InvalidCountsShowTheIndexBox)
{
    exec("INSERT INTO E3 (ID, K, I1) VALUES (7, 1, 3)");
    auto v = view("E3");
    struct Case {
        std::function<void(int16_t&, int16_t&, int16_t&)> call;
        const char* name;
    } cases[] = {
        {[&](int16_t& a, int16_t& b, int16_t& n) { v->INDEX(a, b, n, "K", 1, "", {}, "I1"); }, "gap"},
        {[&](int16_t& a, int16_t& b, int16_t& n) { v->INDEX(a, b, n, "K", "I1", "I1"); }, "text value"},
    };
    for (const Case& c : cases) {
        p.dialogs().shown.clear();
        answer({MsgResult::Cancel});
        int16_t MINI = 9, MAXI = 9, AN = 9;
        c.call(MINI, MAXI, AN);
        EXPECT_EQ(std::tuple(MINI, MAXI, AN), std::tuple(int16_t(9), int16_t(9), int16_t(9))) << c.name;
        ASSERT_EQ(boxes().size(), 1u);
        ExpectGuardBox(boxes()[0], "Index", "VB-Error: ");

        p.dialogs().shown.clear();
        answer({MsgResult::OK, MsgResult::OK, MsgResult::OK});
        c.call(MINI, MAXI, AN);
        EXPECT_EQ(boxes().size(), 3u) << c.name;
        EXPECT_EQ(std::tuple(MINI, MAXI, AN), std::tuple(int16_t(0), int16_t(0), int16_t(0))) << c.name;
    }
}

TEST_F(Counting, LIDAndLKENListRecords)
{
    exec("INSERT INTO E1 (ID, KEN, AKT) VALUES (3, 'Cäsar', 1), (0, 'Null', 1), (1, 'berta', 1), (2, 'Anton', 0)");
    auto v = view("E1");
    std::vector<int32_t> ID{99};
    v->LID(ID, true);
    EXPECT_EQ(ID, (std::vector<int32_t>{1, 3}));
    v->LID(ID, false);
    EXPECT_EQ(ID, (std::vector<int32_t>{2, 1, 3}));
    std::vector<QString> KEN;
    v->LKEN(KEN, true);
    EXPECT_EQ(KEN, (std::vector<QString>{"berta", "Cäsar"}));
    v->LKEN(KEN, false);
    EXPECT_EQ(KEN, (std::vector<QString>{"Anton", "berta", "Cäsar"}));

    exec("UPDATE E1 SET AKT = 0");
    std::vector<QString> kept{"x"};
    v->LKEN(kept, true);
    EXPECT_EQ(kept, std::vector<QString>{"x"});
    std::vector<int32_t> keptIds{5};
    v->LID(keptIds, true);
    EXPECT_EQ(keptIds, std::vector<int32_t>{5});

    // A Null designation is an error for the caller.
    exec("INSERT INTO E1 (ID, KEN, AKT) VALUES (4, NULL, 0)");
    EXPECT_THROW(v->LKEN(kept, false), VbError);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(Counting, LOESCHENDeletesTheMatchedRows)
{
    exec("INSERT INTO A2 (ID, K, OU, I4, X) VALUES (7, 1, 0, 0, 3), (7, 1, 0, 1, 4), (7, 1, 0, 2, 3), "
         "(7, 1, 1, 0, 3), (7, 2, 0, 0, 3), (8, 1, 0, 0, 3)");
    auto v = view("A2");
    EXPECT_TRUE(v->LOESCHEN("K", 1, "OU", 0, "I4", {}, "X", 3));
    EXPECT_EQ(rows("SELECT ID, K, OU, I4 FROM A2 ORDER BY rowid"),
              QStringList({"7|1|0|1", "7|1|1|0", "7|2|0|0", "8|1|0|0"}));
    EXPECT_TRUE(v->LOESCHEN("K", 1));
    EXPECT_EQ(rows("SELECT ID, K FROM A2 ORDER BY rowid"), QStringList({"7|2", "8|1"}));
    EXPECT_TRUE(v->LOESCHEN());
    EXPECT_EQ(rows("SELECT ID, K FROM A2"), QStringList({"8|1"}));
    EXPECT_TRUE(boxes().empty());
}

// A deletion that fails: with OK it runs to its end after a few boxes, never into an
// endless chain; Cancel ends it with False.
TEST_F(Counting, FailingLOESCHENEnds)
{
    auto v = view("E9");
    p.dialogs().msgAnswers.assign(3, MsgResult::OK);
    EXPECT_TRUE(v->LOESCHEN("K", 1));
    EXPECT_EQ(boxes().size(), 3u);   // the open, the test for rows, the close
    for (const MsgBoxRequest& box : boxes())
        ExpectGuardBox(box, "Datenfehler", "VB-Error: ");

    p.dialogs().shown.clear();
    answer({MsgResult::Cancel});
    EXPECT_FALSE(v->LOESCHEN("K", 1));
    EXPECT_EQ(boxes().size(), 1u);
}

class Search : public DataTest {
protected:
    void SetUp() override
    {
        exec("INSERT INTO E1 (ID, KEN, KOM, AKT) VALUES (1, 'Graben', 'x', 0), (2, 'Labor', 'y', 0), "
             "(6, 'Abwasser', 'x', 0), (9, 'O''Brien', 'x', 0)");
    }
};

TEST_F(Search, IDKRITFindsTheRowsMeetingTheCriteria)
{
    auto v = view("E1");
    std::vector<int32_t> IDKR;
    QString SPO1 = "LIKE";
    EXPECT_TRUE(v->IDKRIT(IDKR, "KEN", Variant("ab"), SPO1));
    EXPECT_EQ(IDKR, (std::vector<int32_t>{6, 1, 2}));

    QString SPO2 = ">";
    EXPECT_TRUE(v->IDKRIT(IDKR, "KEN", Variant("ab"), SPO1, "ID", Variant(5), &SPO2));
    EXPECT_EQ(IDKR, std::vector<int32_t>{6});

    // A quote in a text value is part of the value.
    QString SPO3 = "=";
    EXPECT_FALSE(v->IDKRIT(IDKR, "KOM", Variant("x"), SPO1, "KEN", Variant("'Br"), &SPO3));
    EXPECT_EQ(IDKR, std::vector<int32_t>{6});
    SPO3 = "LIKE";
    EXPECT_TRUE(v->IDKRIT(IDKR, "KOM", Variant("x"), SPO1, "KEN", Variant("'Br"), &SPO3));
    EXPECT_EQ(IDKR, std::vector<int32_t>{9});
    EXPECT_TRUE(boxes().empty());
}

TEST_F(Search, OperatorsAreWrittenBack)
{
    auto v = view("E1");
    std::vector<int32_t> IDKR;
    QString SPO1 = ">";
    QString SPO2 = "like";
    EXPECT_TRUE(v->IDKRIT(IDKR, "KEN", Variant("Labor"), SPO1, "KOM", Variant("y"), &SPO2));
    EXPECT_EQ(SPO1, QStringLiteral("="));
    EXPECT_EQ(SPO2, QStringLiteral("="));
    EXPECT_EQ(IDKR, std::vector<int32_t>{2});
}

TEST_F(Search, NoMatchLeavesTheArray)
{
    auto v = view("E1");
    std::vector<int32_t> IDKR{42};
    QString SPO1 = "=";
    EXPECT_FALSE(v->IDKRIT(IDKR, "KEN", Variant("Keiner"), SPO1));
    EXPECT_EQ(IDKR, std::vector<int32_t>{42});

    // A failing search shows its box and finds nothing.
    answer({MsgResult::OK, MsgResult::OK, MsgResult::OK});
    EXPECT_FALSE(v->IDKRIT(IDKR, "NIX", Variant(1), SPO1));
    EXPECT_EQ(IDKR, std::vector<int32_t>{42});
    ASSERT_FALSE(boxes().empty());
    ExpectGuardBox(boxes()[0], "Datenfehler", "VB-Error: ");
}

} // namespace
