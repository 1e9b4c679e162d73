#pragma once
// Where a grid cell lies on the screen, from the grid's own twips geometry, so that
// tests can press, drag and double-click on cells with real mouse events.
#include "platform/FlexGrid.h"
#include "platform/Twips.h"
#include <QPoint>
#include <QTest>

// The viewport point at a share of a cell's width (0.5: its centre), halfway down.
// The cell must be in view.
inline QPoint CellPoint(const FlexGrid& grid, int row, int col, double across = 0.5)
{
    double x = 0, y = 0;
    const int firstCol = col < grid.FixedCols() ? col : grid.LeftCol();
    for (int c = 0; c < std::min(col, grid.FixedCols()); ++c)
        x += grid.ColWidth(c);
    for (int c = firstCol; c < col; ++c)
        x += grid.ColWidth(c);
    const int firstRow = row < grid.FixedRows() ? row : grid.TopRow();
    for (int r = 0; r < std::min(row, grid.FixedRows()); ++r)
        y += grid.RowHeight(r);
    for (int r = firstRow; r < row; ++r)
        y += grid.RowHeight(r);
    x += across * grid.ColWidth(col);
    y += 0.5 * grid.RowHeight(row);
    return QPoint(int(x / TwipsPerPixel), int(y / TwipsPerPixel));
}

// A double click as a user makes it: press, release, double click, release (QTest's
// own sends the double click alone).
inline void DoubleClick(QWidget* widget, QPoint at)
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(widget, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, at);
}
