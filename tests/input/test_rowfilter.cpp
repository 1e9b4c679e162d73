// The row filter: the rows of a range that stay, the answers it takes, its refusals, and
// the rows it cannot remove.
#include "InputFixture.h"

#include <algorithm>
#include <optional>

namespace {

class RowFilterTest : public GridTableTest {
protected:
    // A running-number column and one value column holding each data row's own index.
    void bindTable(int dataRows)
    {
        flx->EFLX(grid);
        flx->ELSB(Dynamic::Integers({10, 15}));
        flx->ELSTYP(Dynamic::Integers({1, 0}));
        grid->setRows(dataRows + 1);
        for (int r = 1; r <= dataRows; ++r)
            grid->setTextMatrix(r, 1, QString::number(r));
        flx->NUMMERIEREN();
    }
    void filter(const QStringList& answers)
    {
        dialogs->inputAnswers.assign(answers.begin(), answers.end());
        flx->ZEILENFILTER();
    }
    // The original indices of the rows that stayed.
    QStringList kept() const { return Column(*grid, 1); }
    static QStringList indices(const std::vector<int>& rows)
    {
        QStringList t;
        for (int r : rows)
            t << QString::number(r);
        return t;
    }
    static std::vector<int> range(int from, int to, int step = 1)
    {
        std::vector<int> r;
        for (int i = from; i <= to; i += step)
            r.push_back(i);
        return r;
    }
    static std::vector<int> join(std::initializer_list<std::vector<int>> parts)
    {
        std::vector<int> all;
        for (const auto& p : parts)
            all.insert(all.end(), p.begin(), p.end());
        return all;
    }
};

TEST_F(RowFilterTest, KeepsTheMultiplesOfTheStepCountedFromRowZero)
{
    struct Case {
        const char* name;
        int dataRows;
        QStringList answers;   // first, last, count
        std::vector<int> kept;
    };
    const Case cases[] = {
        {"step 10", 101, {"0", "100", "10"}, join({range(10, 100, 10), {101}})},
        // Five rows stay, not four: the ends of the range are both multiples.
        {"step 5", 30, {"5", "25", "4"}, join({range(1, 4), range(5, 25, 5), range(26, 30)})},
        {"2.5 rounds to the even step 2", 30, {"3", "28", "10"}, join({{1, 2}, range(4, 28, 2), {29, 30}})},
        {"count equal to the span", 10, {"2", "8", "6"}, range(1, 10)},
        // Answers are taken down to the whole number below: 2 and 10.
        {"answers floored", 12, {"2,5", "10,9", "4"}, join({{1, 2, 4, 6, 8}, range(10, 12)})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bindTable(c.dataRows);
        filter(c.answers);
        EXPECT_EQ(kept(), indices(c.kept));
        // The refresh renumbers the running numbers.
        EXPECT_EQ(Column(*grid, 0), indices(range(0, int(c.kept.size()) - 1)));
        EXPECT_TRUE(boxes().empty());
    }
}

TEST_F(RowFilterTest, AsksInThreeBoxesWithTheirDefaults)
{
    bindTable(20);
    filter({"4", "14", "5"});
    std::vector<ScriptedDialogService::Shown> asked;
    for (const auto& s : dialogs->shown)
        if (s.kind == QLatin1String("InputBox"))
            asked.push_back(s);
    ASSERT_EQ(asked.size(), 3u);
    const QString prompts[] = {"Erste Zeile: ", "Letzte Zeile: ", "Reduzierte Zeilenanzahl: "};
    // The last row's default is Rows - 2; the count's is the span asked.
    const QString defaults[] = {"0", "19", "10"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(asked[size_t(i)].box.text, prompts[i]);
        EXPECT_EQ(asked[size_t(i)].box.title, "Zeilenfilter");
        EXPECT_EQ(asked[size_t(i)].defaultText, defaults[i]);
    }
    EXPECT_EQ(kept(), indices(join({range(1, 3), range(4, 14, 2), range(15, 20)})));
}

TEST_F(RowFilterTest, RefusedAnswersAreAskedAgainAndCancelChangesNothing)
{
    const QString firstRefused = QStringLiteral("Ungültige Angabe für die Nummer der ersten Zeile!");
    const QString lastRefused = QStringLiteral("Ungültige Angabe für die Nummer der letzten Zeile!");
    const QString countRefused = QStringLiteral("Ungültige Angabe für die reduzierte Zeilenanzahl!");
    struct Case {
        const char* name;
        QStringList answers;
        std::vector<MsgResult> boxAnswers;
        QStringList refusals;
        std::optional<std::vector<int>> kept;   // none: unchanged
    };
    const Case cases[] = {
        // The input box's Cancel answers "".
        {"cancelled first row", {""}, {MsgResult::Cancel}, {firstRefused}, std::nullopt},
        {"letters, then a number", {"abc", "0", "x", "6", "3"}, {MsgResult::OK, MsgResult::OK}, {firstRefused, lastRefused},
         join({range(0, 6, 2), range(7, 10)})},
        {"count of 0 and above the span", {"0", "6", "0", "7", "3"}, {MsgResult::OK, MsgResult::OK},
         {countRefused, countRefused}, join({range(0, 6, 2), range(7, 10)})},
        // With the first row above the last no count can pass.
        {"first above last", {"8", "2", "1", "-6"}, {MsgResult::OK, MsgResult::Cancel}, {countRefused, countRefused},
         std::nullopt},
        {"beyond the rows a table may have", {"1048577"}, {MsgResult::Cancel}, {firstRefused}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs->shown.clear();
        dialogs->msgAnswers.assign(c.boxAnswers.begin(), c.boxAnswers.end());
        bindTable(10);
        filter(c.answers);
        QStringList shown;
        for (const MsgBoxRequest& b : boxes()) {
            shown << b.text;
            EXPECT_EQ(b.title, "MSFlexGrid / Zeilenfilter");
            EXPECT_EQ(b.buttons, MsgButtons::OKCancel);
            EXPECT_EQ(b.icon, MsgIcon::Exclamation);
        }
        EXPECT_EQ(shown, c.refusals);
        // Row 0 is the header, never removed; the data rows begin at 1.
        std::vector<int> rows = c.kept.value_or(range(1, 10));
        rows.erase(std::remove(rows.begin(), rows.end(), 0), rows.end());
        EXPECT_EQ(kept(), indices(rows));
    }
}

// A table filled past 32,767 rows (as an import fills it) is thinned as any other: its
// last row, as the filter proposes it, is taken.
TEST_F(RowFilterTest, ThinsATableOfMoreThan32767Rows)
{
    bindTable(40000);
    filter({"0", "39999", "4000"});
    EXPECT_TRUE(boxes().empty());
    ASSERT_GE(dialogs->shown.size(), 2u);
    EXPECT_EQ(dialogs->shown[1].defaultText, QStringLiteral("39999"));
    EXPECT_EQ(kept(), indices(join({range(10, 39990, 10), {40000}})));
}

TEST_F(RowFilterTest, ARowTheGridCannotRemoveShowsTheErrorBox)
{
    // First row -1 (from -0.5), step 2: row -1 is no multiple and is no row either.
    for (const MsgResult answer : {MsgResult::OK, MsgResult::Cancel}) {
        SCOPED_TRACE(answer == MsgResult::OK ? "OK" : "Cancel");
        dialogs->shown.clear();
        dialogs->msgAnswers = {answer};
        bindTable(6);
        filter({"-0,5", "3", "2"});
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, "VB-Error: 381\nUnzulässiger Index für Eigenschaftenfeld");
        EXPECT_EQ(boxes()[0].title, "MSFlexGrid / Zeilenfilter");
        EXPECT_EQ(kept(), indices({2, 4, 5, 6}));
        // Cancel leaves before the refresh: the running numbers keep their gaps.
        EXPECT_EQ(Column(*grid, 0),
                  answer == MsgResult::OK ? indices({0, 1, 2, 3}) : indices({1, 3, 4, 5}));
    }
}

} // namespace
