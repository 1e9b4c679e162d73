// Inserting and removing rows of a grid table, the empty table, and the coupled table.
#include "InputFixture.h"

#include <QApplication>

namespace {

// A second table on the same window, with its own grid.
struct OtherTable {
    OtherTable(Context& ctx, QWidget& window) : flx(std::make_shared<clsFLX>(ctx))
    {
        grid = new FlexGrid(&window);
        grid->setGeometry(360, 40, 300, 200);
        grid->setCols(3);
        grid->show();
        flx->EFLX(grid);
        flx->ELSTYP(Dynamic::Integers({1, 0, 0}));
    }
    FlexGrid* grid;
    std::shared_ptr<clsFLX> flx;
};

} // namespace

TEST_F(GridTableTest, RowsAreInsertedAndRemovedAtTheCurrentRowAndRenumbered)
{
    bindLayerTable();
    grid->setRows(4);
    const QStringList values{"a", "b", "c"};
    for (int r = 0; r < 3; ++r)
        grid->setTextMatrix(r + 1, 1, values[r]);

    grid->setRow(2);
    flx->ZEILEEINFUEGEN();
    EXPECT_EQ(Column(*grid, 1), (QStringList{"a", "", "b", "c"}));
    EXPECT_EQ(Column(*grid, 0), (QStringList{"0", "1", "2", "3"}));
    EXPECT_EQ(grid->Row(), 2);

    grid->setRow(1);
    flx->ZEILEENTFERNEN();
    EXPECT_EQ(Column(*grid, 1), (QStringList{"", "b", "c"}));
    EXPECT_EQ(Column(*grid, 0), (QStringList{"0", "1", "2"}));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(GridTableTest, RemovingTheLastRowEmptiesTheTableAndInsertingRefillsIt)
{
    bindLayerTable();
    grid->setTextMatrix(1, 1, QStringLiteral("3,00"));
    ASSERT_TRUE(grid->Enabled());
    for (int pass = 0; pass < 2; ++pass) {   // an empty table stays empty
        flx->ZEILEENTFERNEN();
        EXPECT_FALSE(grid->Enabled());
        EXPECT_EQ(grid->Rows(), 2);
        EXPECT_EQ(grid->BackColor(), grid->BackColorFixed());
        EXPECT_EQ(grid->TextMatrix(1, 0), QString());   // the index cell too
        EXPECT_EQ(grid->TextMatrix(1, 1), QString());
    }
    // The empty table shows its fixed colour where its cells are.
    QApplication::processEvents();
    EXPECT_EQ(grid->viewport()->grab().toImage().pixelColor(CellPoint(*grid, 1, 1)), grid->BackColorFixed());

    flx->ZEILEEINFUEGEN();
    EXPECT_TRUE(grid->Enabled());
    EXPECT_EQ(grid->Rows(), 2);
    EXPECT_EQ(grid->BackColor(), WindowBackgroundColor());
    EXPECT_EQ(Column(*grid, 0), QStringList{"0"});
    EXPECT_TRUE(boxes().empty());
}

TEST_F(GridTableTest, RowOperationsRepeatOnTheCoupledTable)
{
    bindLayerTable();
    // The unbound default coupled table mirrors nothing.
    flx->EFLXK();
    flx->ZEILEEINFUEGEN();
    EXPECT_EQ(grid->Rows(), 3);
    EXPECT_TRUE(boxes().empty());

    OtherTable other(ctx, window);
    flx->EFLXK(other.flx);
    other.grid->setRows(3);
    grid->setRow(2);
    flx->ZEILEEINFUEGEN();
    EXPECT_EQ(grid->Rows(), 4);
    EXPECT_EQ(other.grid->Rows(), 4);
    EXPECT_EQ(other.grid->Row(), 2);
    EXPECT_EQ(Column(*other.grid, 0), (QStringList{"0", "1", "2"}));

    flx->ZEILEENTFERNEN();
    flx->ZEILEENTFERNEN();
    flx->ZEILEENTFERNEN();
    EXPECT_FALSE(grid->Enabled());
    EXPECT_FALSE(other.grid->Enabled());

    // Tables coupled both ways repeat once each.
    other.flx->EFLXK(flx);
    flx->ZEILEEINFUEGEN();
    EXPECT_TRUE(grid->Enabled());
    EXPECT_TRUE(other.grid->Enabled());
    grid->setRow(1);
    flx->ZEILEEINFUEGEN();
    EXPECT_EQ(grid->Rows(), 3);
    EXPECT_EQ(other.grid->Rows(), 3);
    other.flx->EFLXK(nullptr);   // no cycle of shared owners left behind
    EXPECT_TRUE(boxes().empty());
}
