// Grid columns to and from table columns: rows matched in running-number order, the
// empty table as a disabled grid, conversion by the column's type, and the data-error box.
#include "DataFixture.h"
#include "platform/FlexGrid.h"
#include "support/TestHelpers.h"

namespace {

class GridColumns : public DataTest {
protected:
    // A grid of two columns (running number, value) with the given body rows.
    std::unique_ptr<FlexGrid> grid(const QStringList& numbers, const QStringList& values)
    {
        auto g = std::make_unique<FlexGrid>();
        g->setRows(1 + int(numbers.size()));
        for (int r = 0; r < numbers.size(); ++r) {
            g->setTextMatrix(r + 1, 0, numbers[r]);
            g->setTextMatrix(r + 1, 1, values[r]);
        }
        return g;
    }
    // Saves a grid as the input window does: running numbers first, then the values.
    bool save(const FlexGrid& g)
    {
        auto v = view("E3");
        return v->DFTFM("I1", g, "0", "K", 1, "I1") && v->DFTFM("Z", g, "1", "K", 1, "I1");
    }
    QStringList side1() { return rows("SELECT ID, K, I1, Z FROM E3 WHERE ID = 7 AND K = 1 ORDER BY I1"); }
};

} // namespace

TEST_F(GridColumns, SavingWritesOneRowPerDataRow)
{
    struct Case {
        const char* name;
        int existing;
        QStringList numbers, values, after;
    } cases[] = {
        {"new rows with ID, side and running number", 0, {"0", "1", "2"}, {"1,5", "", " 2,5 "},
         {"7|1|0|1,5", "7|1|1|Null", "7|1|2|2,5"}},
        {"three over five leave three", 5, {"0", "1", "2"}, {"1", "2", "3"}, {"7|1|0|1", "7|1|1|2", "7|1|2|3"}},
        {"blanks only are Null", 1, {"0"}, {"   "}, {"7|1|0|Null"}},
    };
    for (const auto& c : cases) {
        exec("DELETE FROM E3");
        layerRows(c.existing);
        const auto g = grid(c.numbers, c.values);
        int yields = 0;
        SetDoEventsHook([&] { ++yields; });
        EXPECT_TRUE(save(*g)) << c.name;
        SetDoEventsHook(nullptr);
        EXPECT_EQ(side1(), c.after) << c.name;
        EXPECT_EQ(otherRows(), QStringList({"7|2|99", "8|1|98"})) << c.name;
        EXPECT_EQ(yields, 2 * int(c.numbers.size())) << "one yield per written row";
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(GridColumns, AnEmptyTableDeletesItsRowsAndReadsBackEmpty)
{
    layerRows(3);
    const auto g = grid({"0"}, {"5"});
    g->setEnabledFlag(false);
    EXPECT_TRUE(save(*g));
    EXPECT_TRUE(side1().isEmpty());
    EXPECT_EQ(otherRows(), QStringList({"7|2|99", "8|1|98"}));

    // Reading no rows makes an enabled grid the empty table, and leaves its cells.
    const auto read = grid({"0"}, {"shown"});
    read->setBackColor(Qt::white);
    read->setBackColorFixed(QColor(200, 200, 200));
    EXPECT_TRUE(view("E3")->DTFFM("Z", *read, "1", "K", 1, "I1"));
    EXPECT_FALSE(read->Enabled());
    EXPECT_EQ(read->BackColor(), QColor(200, 200, 200));
    EXPECT_EQ(read->TextMatrix(1, 1), QStringLiteral("shown"));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(GridColumns, ReadingFillsTheColumnAndGrowsTheGrid)
{
    layerRows(5);
    exec("UPDATE E3 SET Z = NULL WHERE ID = 7 AND K = 1 AND I1 = 1");
    exec("UPDATE E3 SET Z = 1.5 WHERE ID = 7 AND K = 1 AND I1 = 2");
    struct Case {
        const char* name;
        int rows;
        int16_t ZNR;
        QStringList column;   // grid column 1 below the fixed row afterwards
    } cases[] = {
        {"grows to the rows read", 2, 0, {"10", "", "1,5", "13", "14"}},
        {"from row 1 also for ZNR 1", 2, 1, {"10", "", "1,5", "13", "14"}},
        {"never shrinks", 8, 0, {"10", "old", "1,5", "13", "14", "old", "old"}},
        {"after row ZNR", 4, 3, {"old", "old", "old", "10", "", "1,5", "13", "14"}},
    };
    for (const auto& c : cases) {
        auto g = std::make_unique<FlexGrid>();
        g->setRows(c.rows);
        for (int r = 1; r < c.rows; ++r)
            g->setTextMatrix(r, 1, QStringLiteral("old"));
        g->setEnabledFlag(false);
        int yields = 0;
        SetDoEventsHook([&] { ++yields; });
        EXPECT_TRUE(view("E3")->DTFF("Z", *g, "1", "K", 1, "I1", {}, {}, {}, {}, c.ZNR)) << c.name;
        SetDoEventsHook(nullptr);
        QStringList column;
        for (int r = 1; r < g->Rows(); ++r)
            column << g->TextMatrix(r, 1);
        EXPECT_EQ(column, c.column) << c.name;   // a Null leaves its cell, the next value the next row
        EXPECT_TRUE(g->Enabled()) << c.name;
        EXPECT_EQ(g->BackColor(), WindowBackgroundColor()) << c.name;
        EXPECT_EQ(yields, 5) << c.name;
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(GridColumns, NumbersAreReadAndWrittenInTheLocale)
{
    const auto g = grid({"0", "1"}, {"1,50", "2"});
    ASSERT_TRUE(save(*g));
    auto back = std::make_unique<FlexGrid>();
    ASSERT_TRUE(view("E3")->DTFFM("Z", *back, "1", "K", 1, "I1"));
    EXPECT_EQ(back->TextMatrix(1, 1), QStringLiteral("1,5"));
    {
        LocaleScope english(English());
        const auto e = grid({"0", "1"}, {"0.25", "2"});
        ASSERT_TRUE(save(*e));
        ASSERT_TRUE(view("E3")->DTFFM("Z", *back, "1", "K", 1, "I1"));
        EXPECT_EQ(back->TextMatrix(1, 1), QStringLiteral("0.25"));
    }
    EXPECT_EQ(CStr(p.scalar("SELECT Z FROM E3 WHERE I1 = 0")), QStringLiteral("0,25"));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(GridColumns, TextThatIsNoNumberIsRefusedNotStored)
{
    // "1.500" under a German locale is no number: a point typed out of habit must not
    // become a thousands separator.
    for (const char* text : {"abc", "1.500"}) {
        exec("DELETE FROM E3");
        const auto g = grid({"0", "1"}, {QString::fromLatin1(text), "2"});
        p.dialogs().shown.clear();
        p.dialogs().msgAnswers.push_back(MsgResult::OK);
        // OK goes on with the next step, but the column was not written as the grid shows it.
        EXPECT_FALSE(save(*g)) << text;
        ASSERT_EQ(boxes().size(), 1u) << text;
        ExpectGuardBox(boxes()[0], QStringLiteral("Datenfehler"),
                       QStringLiteral("Werte der Spalte Z der Tabelle E3 können nicht in die Spalte 1\n"
                                      "der FlexGrid-Tabelle 0 geschrieben werden!\nVB-Error: -2147217887\n"));
        EXPECT_EQ(side1(), (QStringList{"7|1|0|Null", "7|1|1|2"})) << text;
        EXPECT_EQ(p.scalar("SELECT COUNT(*) FROM E3 WHERE typeof(Z) = 'text'"), Variant(int32_t(0))) << text;
    }
}

TEST_F(GridColumns, AGridColumnThatIsNoNumberShowsTheBoxAndTouchesNothing)
{
    exec("INSERT INTO E4 (ID, K, I2, Z) VALUES (7, 1, 0, 5)");
    auto g = grid({"0"}, {"1"});
    g->setIndex(2);
    struct Case {
        const char* name;
        MsgResult answer;
        bool read;   // a write that wrote nothing is never a success
    } cases[] = {{"Cancel", MsgResult::Cancel, false}, {"OK", MsgResult::OK, true}};
    for (const auto& c : cases) {
        p.dialogs().shown.clear();
        answer({c.answer, c.answer});
        auto v = view("E4");
        EXPECT_FALSE(v->DFTF("Z", *g, "x", "K", 1, "I2")) << c.name;
        EXPECT_EQ(v->DTFF("Z", *g, "x", "K", 1, "I2"), c.read) << c.name;
        ASSERT_EQ(boxes().size(), 2u) << c.name;
        ExpectGuardBox(boxes()[0], QStringLiteral("Datenfehler"),
                       QStringLiteral("Werte der Spalte Z der Tabelle E4 können nicht in die Spalte x\n"
                                      "der FlexGrid-Tabelle 2 geschrieben werden!\nVB-Error: 13\n"));
        ExpectGuardBox(boxes()[1], QStringLiteral("Datenfehler"),
                       QStringLiteral("Werte der Spalte Z der Tabelle E4 können nicht in die Spalte x\n"
                                      "der FlexGrid-Tabelle 2 eingelesen werden!\nVB-Error: 13\n"));
        EXPECT_EQ(rows("SELECT I2, Z FROM E4"), QStringList{"0|5"}) << c.name;
        EXPECT_EQ(g->TextMatrix(1, 1), QStringLiteral("1")) << c.name;
    }
}

TEST_F(GridColumns, AReadSurvivesItsGridGoingAwayDuringAYield)
{
    layerRows(3);
    auto* g = new FlexGrid();
    SetDoEventsHook([&] {
        delete g;
        g = nullptr;
        SetDoEventsHook(nullptr);
    });
    answer({MsgResult::Cancel});
    EXPECT_FALSE(view("E3")->DTFFM("Z", *g, "1", "K", 1, "I1"));
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_TRUE(boxes()[0].text.contains(QStringLiteral("VB-Error: 91\n")));
}
