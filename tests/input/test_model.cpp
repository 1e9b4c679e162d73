// The grid table's column model, numbering and refresh.
#include "InputFixture.h"

namespace {

// A table on its own grid of the given columns and body rows.
struct Table {
    Table(Context& ctx, int cols, int bodyRows = 1) : flx(ctx)
    {
        grid.setCols(cols);
        flx.EFLX(&grid);
        grid.setRows(grid.FixedRows() + bodyRows);
    }
    FlexGrid grid;
    clsFLX flx;
};

} // namespace

TEST_F(GridTableTest, BindingResetsTheModel)
{
    EXPECT_FALSE(flx->EBOH());
    EXPECT_EQ(flx->EDET(), 0);
    EXPECT_EQ(flx->EDETE(), QString());
    EXPECT_TRUE(flx->ELSB().isEmpty());

    grid->setRows(6);
    flx->EFLX(grid);
    EXPECT_EQ(grid->Rows(), 2);
    EXPECT_EQ(grid->FixedCols(), 0);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(grid->ColWidth(c), 850) << c;
        EXPECT_EQ(grid->TextMatrix(0, c), QStringLiteral("I%1").arg(c + 1));
        EXPECT_EQ(flx->ELSTTT()[c].text(), QStringLiteral("SpaltenNr.%1").arg(c + 1));
        EXPECT_EQ(flx->ELSTYP()[c].value(), Variant(int16_t(0)));
        EXPECT_EQ(grid->ColAlignment(c), 7);
        EXPECT_EQ(grid->FixedAlignment(c), 4);
    }
    EXPECT_TRUE(flx->EBOH());
    EXPECT_EQ(flx->EDETE(), QStringLiteral("mm"));
    EXPECT_EQ(flx->EDET(), -1);

    // Widths are Singles times 56.7 twips, rounded halves to even.
    flx->ELSB(Dynamic::Integers({12, 15, 20}));
    EXPECT_EQ(grid->ColWidth(0), 680);
    EXPECT_EQ(grid->ColWidth(1), 850);
    EXPECT_EQ(grid->ColWidth(2), 1134);

    // The widths reset the titles, but keep the second title line.
    flx->ELST1(Dynamic::Texts({"a", "b", "c"}));
    flx->ELST2(Dynamic::Texts({"[m]", "[m]", "[m]"}));
    flx->ELSB(Dynamic::Integers({12, 15, 20}));
    EXPECT_EQ(grid->TextMatrix(0, 0), QStringLiteral("I1"));
    EXPECT_EQ(flx->ELST2()[2].text(), QStringLiteral("[m]"));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(GridTableTest, ColumnTypesSetTheFixedIndexColumns)
{
    struct Case {
        const char* name;
        Dynamic types;
        int fixedCols;
        std::array<int, 6> typeColumns;
    } cases[] = {
        {"values only", Dynamic::Integers({0, 0, 0}), 0, {-1, -1, -1, -1, -1, -1}},
        {"level 3 without level 2", Dynamic::Integers({1, 3, 0}), 1, {0, -1, 1, -1, -1, -1}},
        {"two levels", Dynamic::Integers({1, 2, 0}), 2, {0, 1, -1, -1, -1, -1}},
        {"the last date column counts", Dynamic::Integers({0, 4, 4}), 0, {-1, -1, -1, 2, -1, -1}},
        {"time, elapsed, list", Dynamic::Integers({5, 6, 7}), 0, {-1, -1, -1, -1, 0, 1}},
    };
    for (auto& c : cases) {
        Table t(ctx, 3, 4);
        t.flx.ELSTYP(c.types);
        EXPECT_EQ(t.grid.FixedCols(), c.fixedCols) << c.name;
        for (int k = 1; k <= 6; ++k)
            EXPECT_EQ(t.flx.TYPSPALTE(k), c.typeColumns[size_t(k - 1)]) << c.name << " type " << k;
        // The end values are not touched: the row count stays, the stored value is a Long 0.
        EXPECT_EQ(t.grid.Rows(), 5) << c.name;
        EXPECT_EQ(t.flx.ELINDEXMAX().value(), Variant(int32_t(0))) << c.name;
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(GridTableTest, IndexRangesSetStartValuesAndTheRowCount)
{
    Table t(ctx, 3);
    t.flx.ELSTYP(Dynamic::Integers({1, 2, 0}));
    t.flx.ELINDEXMIN(Dynamic::Integers({0, 1}));
    t.flx.ELINDEXMAX(Dynamic(Variant(int16_t(9))));
    EXPECT_EQ(t.grid.Rows(), 10);
    t.flx.ELINDEXMIN(Dynamic::Integers({0, 1, 1}));
    t.flx.ELINDEXMAX(Dynamic::Integers({3, 2}));
    EXPECT_EQ(t.grid.Rows(), 7);

    struct Case {
        const char* name;
        Dynamic value;
        std::array<int16_t, 3> mins;
    } starts[] = {
        {"a Long changes nothing", Dynamic(Variant(int32_t(5))), {0, 1, 1}},
        {"one element changes nothing", Dynamic::Integers({7}), {0, 1, 1}},
        {"an Integer is level 1", Dynamic(Variant(int16_t(5))), {5, 0, 0}},
        {"three levels", Dynamic::Integers({2, 3, 4}), {2, 3, 4}},
        {"empty", Dynamic(), {0, 0, 0}},
    };
    for (const auto& c : starts) {
        t.flx.ELINDEXMIN(c.value);
        for (int level = 1; level <= 3; ++level)
            EXPECT_EQ(t.flx.INDEXMIN(level), c.mins[size_t(level - 1)]) << c.name;
    }
    t.flx.ELINDEXMAX(Dynamic());
    EXPECT_EQ(t.grid.Rows(), 2);
    EXPECT_TRUE(boxes().empty());

    // A range beyond 16 bits is an overflow; the row count stays.
    t.flx.ELINDEXMIN(Dynamic::Integers({0, -2}));
    answer(MsgResult::OK);
    t.flx.ELINDEXMAX(Dynamic(Variant(int16_t(32767))));
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].title, QStringLiteral("MSFlexGrid / ELINDEXMAX"));
    EXPECT_TRUE(boxes()[0].text.startsWith(QStringLiteral("VB-Error: 6\n")));
    EXPECT_EQ(t.grid.Rows(), 2);
}

TEST_F(GridTableTest, NumberingCountsTheIndexLevels)
{
    struct Case {
        const char* name;
        Dynamic types, mins, maxs;
        int rows;
        QStringList numbers;   // the leading cells of each row joined by "/"
    } cases[] = {
        {"one level from 5", Dynamic::Integers({1, 0, 0, 0}), Dynamic(Variant(int16_t(5))), Dynamic(), 3,
         {"5/", "6/", "7/"}},
        {"negative start", Dynamic::Integers({1, 0, 0, 0}), Dynamic(Variant(int16_t(-3))), Dynamic(), 2,
         {"-3/", "-2/"}},
        {"two levels carry before writing", Dynamic::Integers({1, 2, 0, 0}), Dynamic::Integers({1, 1}),
         Dynamic(Variant(int16_t(3))), 7, {"1/1", "1/2", "1/3", "2/1", "2/2", "2/3", "3/1"}},
        {"two levels all zero", Dynamic::Integers({1, 2, 0, 0}), Dynamic(), Dynamic(Variant(int32_t(0))), 3,
         {"0/0", "1/0", "2/0"}},
        {"start above the end carries on every row", Dynamic::Integers({1, 2, 0, 0}), Dynamic::Integers({0, 5}),
         Dynamic(Variant(int32_t(0))), 3, {"1/5", "2/5", "3/5"}},
        {"three levels", Dynamic::Integers({1, 2, 3, 0}), Dynamic::Integers({1, 1, 1}), Dynamic::Integers({2, 2}), 5,
         {"1/1/1", "1/1/2", "1/2/1", "1/2/2", "2/1/1"}},
        {"no level 1 numbers nothing", Dynamic::Integers({0, 2, 0, 0}), Dynamic::Integers({1, 1}), Dynamic(), 2,
         {"/", "/"}},
    };
    for (auto& c : cases) {
        Table t(ctx, 4);
        t.flx.ELSTYP(c.types);
        t.flx.ELINDEXMIN(c.mins);
        t.flx.ELINDEXMAX(c.maxs);
        t.grid.setRows(1 + c.rows);
        t.flx.NUMMERIEREN();
        const int shown = int(c.numbers.first().count(QLatin1Char('/'))) + 1;
        QStringList numbers;
        for (int r = 1; r < t.grid.Rows(); ++r) {
            QStringList cells;
            for (int k = 0; k < shown; ++k)
                cells << t.grid.TextMatrix(r, k);
            numbers << cells.join(QLatin1Char('/'));
        }
        EXPECT_EQ(numbers, c.numbers) << c.name;
    }
    EXPECT_TRUE(boxes().empty());

    // The running number counts on past 16 bits, as far as the rows go.
    Table t(ctx, 3, 3);
    t.flx.ELSTYP(Dynamic::Integers({1, 0, 0}));
    t.flx.ELINDEXMIN(Dynamic(Variant(int16_t(32766))));
    EXPECT_EQ(Column(t.grid, 0), (QStringList{"32766", "32767", "32768"}));
    t.grid.setRows(FlexGrid::MaxRows);
    t.flx.NUMMERIEREN();
    EXPECT_EQ(t.grid.TextMatrix(FlexGrid::MaxRows - 1, 0), QString::number(32766 + FlexGrid::MaxRows - 2));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(GridTableTest, RefreshFormatsEveryCellByItsColumn)
{
    Table t(ctx, 3, 3);
    t.flx.ELSTYP(Dynamic::Integers({1, 0, 0}));
    t.flx.ELFORMAT(Dynamic::Array({Dynamic("#0.00"), Dynamic("#0.00"), Dynamic::Missing()}));
    for (int r = 1; r <= 3; ++r)
        t.grid.setTextMatrix(r, 2, QStringLiteral("3,14159"));
    t.grid.setTextMatrix(1, 1, QStringLiteral("3"));
    t.grid.setTextMatrix(3, 1, QStringLiteral("abc"));
    t.flx.AKTUALISIEREN();
    EXPECT_EQ(Column(t.grid, 0), (QStringList{"0,00", "1,00", "2,00"}));   // numbered, then formatted
    EXPECT_EQ(Column(t.grid, 1), (QStringList{"3,00", "", "abc"}));
    EXPECT_EQ(Column(t.grid, 2), (QStringList{"3,14159", "3,14159", "3,14159"}));
    {
        LocaleScope english(English());
        t.grid.setTextMatrix(1, 1, QStringLiteral("1.5"));
        t.flx.AKTUALISIEREN();
        EXPECT_EQ(t.grid.TextMatrix(1, 1), QStringLiteral("1.50"));
    }
    EXPECT_TRUE(boxes().empty());

    // A format list shorter than the columns costs one box for the column without one.
    t.flx.ELFORMAT(Dynamic::Texts({"#0"}));
    answer(MsgResult::OK);
    answer(MsgResult::OK);
    t.flx.AKTUALISIEREN();
    EXPECT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[0].title, QStringLiteral("MSFlexGrid / Aktulisieren"));
}

TEST_F(GridTableTest, RefreshComputesElapsedTimes)
{
    struct Case {
        const char* name;
        Dynamic types;
        int16_t EDET;
        QString EDETE;
        std::vector<QStringList> rows;   // the cells of each data row
        QStringList elapsed;             // the elapsed-time column afterwards
        int elapsedCol;
    } cases[] = {
        {"over midnight in seconds", Dynamic::Integers({4, 5, 6}), -1, "ss",
         {{"01.03.2023", "23:00:00", ""}, {"02.03.2023", "01:00:00", ""}}, {"0", "7200"}, 2},
        {"over midnight in minutes", Dynamic::Integers({4, 5, 6}), -1, "mm",
         {{"01.03.2023", "23:00:00", ""}, {"02.03.2023", "01:00:00", ""}}, {"0", "120"}, 2},
        {"over midnight in hours", Dynamic::Integers({4, 5, 6}), -1, "hh",
         {{"01.03.2023", "23:00:00", "x"}, {"02.03.2023", "01:00:00", ""}}, {"0", "2"}, 2},
        {"dates only count whole days", Dynamic::Integers({4, 6, 0}), -1, "hh",
         {{"01.03.2023", "5"}, {"02.03.2023", ""}, {"05.03.2023", ""}}, {"5", "1", "3"}, 1},
        {"from the first row", Dynamic::Integers({5, 6, 0}), 0, "mm",
         {{"10:00:00", ""}, {"10:05:00", ""}, {"10:07:00", ""}}, {"0", "5", "7"}, 1},
        {"groups by column 1", Dynamic::Integers({5, 0, 6}), 1, "mm",
         {{"10:00:00", "A", ""}, {"10:01:00", "A", ""}, {"10:03:00", "B", ""}, {"10:06:00", "B", ""}},
         {"0", "1", "2", "5"}, 2},
        {"a row without date and time keeps its cell", Dynamic::Integers({4, 5, 6}), -1, "mm",
         {{"01.03.2023", "10:00:00", ""}, {"", "", "keep"}}, {"0", "keep"}, 2},
        {"a date without its time keeps its cell", Dynamic::Integers({4, 5, 6}), -1, "mm",
         {{"01.03.2023", "10:00:00", ""}, {"02.03.2023", "", "keep"}}, {"0", "keep"}, 2},
    };
    for (auto& c : cases) {
        Table t(ctx, 3, int(c.rows.size()));
        t.flx.ELSTYP(c.types);
        t.flx.ELFORMAT(Dynamic::Array({Dynamic::Missing(), Dynamic::Missing(), Dynamic::Missing()}));
        t.flx.EDET(c.EDET);
        t.flx.EDETE(c.EDETE);
        for (size_t r = 0; r < c.rows.size(); ++r)
            for (int k = 0; k < c.rows[r].size(); ++k)
                t.grid.setTextMatrix(int(r) + 1, k, c.rows[r][k]);
        t.flx.AKTUALISIEREN();
        EXPECT_EQ(Column(t.grid, c.elapsedCol), c.elapsed) << c.name;
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(GridTableTest, CellAccessorAndShortLists)
{
    Table t(ctx, 4, 3);
    const Dynamic array = Dynamic::Array({Dynamic::Texts({"", "", ""}), Dynamic::Texts({"", "", ""}),
                                          Dynamic::Texts({"", "x", ""})});
    t.flx.EMATRIX(2, 1, array);
    EXPECT_EQ(t.grid.TextMatrix(2, 1), QStringLiteral("x"));
    EXPECT_EQ(t.flx.EMATRIX(2, 1), QStringLiteral("x"));
    EXPECT_TRUE(boxes().empty());
    answer(MsgResult::OK);
    t.flx.EMATRIX(9, 1);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].title, QStringLiteral("MSFlexGrid / EMATRIX"));

    // A title list shorter than the columns: one box per missing element on OK, the
    // header cells without a title unchanged; Cancel leaves at the first.
    dialogs->shown.clear();
    answer(MsgResult::OK);
    answer(MsgResult::OK);
    t.flx.ELST1(Dynamic::Texts({"a", "b"}));
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[0].title, QStringLiteral("MSFlexGrid / LST1"));
    EXPECT_EQ(boxes()[0].buttons, MsgButtons::OKCancel);
    EXPECT_TRUE(boxes()[0].text.startsWith(QStringLiteral("VB-Error: 9\n")));
    EXPECT_EQ(t.grid.TextMatrix(0, 1), QStringLiteral("b"));
    EXPECT_EQ(t.grid.TextMatrix(0, 2), QStringLiteral("I3"));
    dialogs->shown.clear();
    answer(MsgResult::Cancel);
    t.flx.ELST1(Dynamic::Texts({"a"}));
    EXPECT_EQ(boxes().size(), 1u);
}

TEST_F(GridTableTest, CoupledTableIsMadeOnFirstRead)
{
    const auto coupled = flx->EFLXK();
    ASSERT_NE(coupled, nullptr);
    EXPECT_EQ(coupled->EFLX(), nullptr);
    EXPECT_EQ(flx->EFLXK(), coupled);
}
