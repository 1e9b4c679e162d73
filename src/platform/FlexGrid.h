#pragma once
// The grid control of the input tables: text cells in rows and columns, counted from 0
// including the fixed (heading) rows and the leading fixed columns, a current cell, a
// selection, and scrolling by whole rows and columns. Positions and sizes are in twips
// (TwipsPerPixel to a pixel). It only shows and selects: editing in a cell belongs to
// the grid table that drives it, through the events below.
//
// It paints only the cells in view, so a grid of tens of thousands of rows scrolls as
// smoothly as a small one.
//
// Enabled() is the grid's own flag and stands for "the table has rows": a disabled grid
// is an empty table. It is never Qt's enabled state, which a disabled parent window
// switches off for all its children. A disabled grid takes no input and no focus and
// sends no events; it keeps painting in its colours.
//
// Members that take a row or column raise error 381 for an index outside the grid;
// values the grid cannot take raise error 380.
#include "OutputObject.h"
#include "Variant.h"
#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class FlexGrid : public QAbstractScrollArea {
    Q_OBJECT

public:
    // Two rows and two columns, one of them a fixed row; no fixed column.
    explicit FlexGrid(QWidget* parent = nullptr);

    // The most rows a grid holds, the fixed ones included: as many as a spreadsheet's
    // sheet. A grid of more would take its rows' cells from memory faster than anyone
    // could scroll through them.
    static constexpr int MaxRows = 1 << 20;

    // Size. New cells are empty, surplus ones are dropped; the current cell and the
    // selection move back into the grid. At least one row and one column stay below
    // and right of the fixed ones, and no more than MaxRows rows.
    int Rows() const { return int(cells_.size()); }
    void setRows(int rows);
    int Cols() const { return cols_; }
    void setCols(int cols);
    int FixedRows() const { return fixedRows_; }
    void setFixedRows(int rows);
    int FixedCols() const { return fixedCols_; }
    void setFixedCols(int cols);

    // The current cell. Setting it collapses the selection onto it and scrolls it into view.
    int Row() const { return row_; }
    void setRow(int row);
    int Col() const { return col_; }
    void setCol(int col);
    // The opposite corner of the selection.
    int RowSel() const { return rowSel_; }
    void setRowSel(int row);
    int ColSel() const { return colSel_; }
    void setColSel(int col);
    // The first scrollable row and column in view.
    int TopRow() const;
    void setTopRow(int row);
    int LeftCol() const;
    void setLeftCol(int col);

    // Cells.
    QString Text() const { return TextMatrix(row_, col_); }
    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);
    // The value a cell was filled with from a table, kept as long as nobody gives the
    // cell another text (typing, pasting, filling): a save writes it back as it was,
    // where the cell's text shows it rounded to its column's format. ReformatCell shows
    // the same value in another form and keeps it.
    void setLoadedValue(int row, int col, const Variant& value);
    std::optional<Variant> LoadedValue(int row, int col) const;
    void ReformatCell(int row, int col, const QString& text);
    // The selected block as text: a tab between cells, a carriage return between rows.
    QString Clip() const;
    // Fills the selected block from such a text, from its top left. Rows may also end in
    // a line feed or carriage return and line feed; one final row end is ignored. Text
    // beyond the block is dropped; cells of the block it does not reach keep their text.
    void setClip(const QString& text) { setCells(ClipCells(text)); }
    // The cells of the selected block that such a text fills, each with its text.
    struct ClipCell {
        int row, col;
        QString text;
    };
    std::vector<ClipCell> ClipCells(const QString& text) const;
    // Gives each of the cells its text, as setTextMatrix does.
    void setCells(const std::vector<ClipCell>& cells);
    // Inserts a row at index (default: after the last row); tabs in item separate its
    // cells. Rows from index down move one down.
    void AddItem(const QString& item, std::optional<int> index = std::nullopt);
    // Removes a row below the fixed ones; the last of them cannot be removed.
    void RemoveItem(int index);

    // The current cell's rectangle relative to the grid's top left corner, in twips.
    int CellLeft() const;
    int CellTop() const;
    int CellWidth() const { return ColWidth(col_); }
    int CellHeight() const { return RowHeight(row_); }
    // Column widths and row heights in twips. A row height never set follows the font.
    int ColWidth(int col) const;
    void setColWidth(int col, int twips);
    int RowHeight(int row) const;
    void setRowHeight(int row, int twips);
    // Alignment of a column's cells, and of its fixed cells: 0 to 8 as left, centre,
    // right (each top, centre, bottom: 1 left, 4 centre, 7 right, vertically centred),
    // 9 general (text left, numbers right).
    int ColAlignment(int col) const;
    void setColAlignment(int col, int alignment);
    int FixedAlignment(int col) const;
    void setFixedAlignment(int col, int alignment);
    // A row is in view when all of it shows, a column when any of it shows.
    bool RowIsVisible(int row) const;
    bool ColIsVisible(int col) const;

    // Place in the parent, in twips.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;

    // 0 the default pointer, 2 the cross; other values as the runtime's pointers.
    int MousePointer() const { return mousePointer_; }
    void setMousePointer(int pointer);
    QColor BackColor() const { return backColor_; }
    void setBackColor(const QColor& colour);
    QColor BackColorFixed() const { return backColorFixed_; }
    void setBackColorFixed(const QColor& colour);
    QColor ForeColor() const { return foreColor_; }
    void setForeColor(const QColor& colour);
    const FontSpec& Font() const { return font_; }
    void setFontSpec(const FontSpec& font);
    // The empty-table marker (see above).
    bool Enabled() const { return enabled_; }
    void setEnabledFlag(bool enabled);
    QString ToolTipText() const { return toolTip(); }
    void setToolTipText(const QString& text) { setToolTip(text); }
    void SetFocus();
    // The grid's index in its control array (messages name the grid by it).
    int16_t Index() const { return index_; }
    void setIndex(int16_t index) { index_ = index; }

signals:
    // Events, sent only while Enabled. Positions are in twips relative to the grid,
    // buttons and shift state as the runtime codes them. A press on a scrollable cell
    // makes it current before mouseDown; a click sends mouseDown, mouseUp, click.
    void click();
    void dblClick();
    void keyPress(int keyAscii);
    void mouseDown(int button, int shift, float x, float y);
    void mouseUp(int button, int shift, float x, float y);
    void mouseMove(int button, int shift, float x, float y);
    // The first row or column in view changed.
    void scroll();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // One edge of a row or column in the viewport.
    struct Span {
        int index;
        int start, end;   // pixels
    };
    void checkRow(int row) const;
    void checkCol(int col) const;
    static void checkAlignment(int alignment);
    // The font and the row height that follows it.
    void useFont(const FontSpec& font);
    // Rows and columns in view, in painting order (fixed ones first), with their pixels.
    std::vector<Span> rowSpans() const;
    std::vector<Span> colSpans() const;
    // Twips from the viewport's edge to a row or column (negative when scrolled out).
    int rowOffset(int row) const;
    int colOffset(int col) const;
    int fixedHeight() const;
    int fixedWidth() const;
    // The scrollable row or column under a viewport pixel, clamped to the scrollable
    // ones; nullopt over a fixed one.
    std::optional<int> rowAt(int y) const;
    std::optional<int> colAt(int x) const;
    static std::optional<int> scrollableAt(const std::vector<Span>& spans, int fixed, int pos);
    void updateScrollBars();
    void scrollIntoView(int row, int col);
    void extendSelectionTo(int row, int col);
    void moveByKey(QKeyEvent* event);
    // A position in the viewport in twips relative to the grid.
    QPointF twipsOf(QPointF viewportPos) const;
    void emitMouse(void (FlexGrid::*signal)(int, int, float, float), QMouseEvent* event, int button);
    void updateCell(int row, int col);
    void setCurrent(int row, int col);

    struct Cell {
        QString text;
        std::shared_ptr<const Variant> loaded;   // see LoadedValue
        void setText(const QString& typed);
    };
    std::vector<std::vector<Cell>> cells_;
    int cols_ = 2;
    int fixedRows_ = 1;
    int fixedCols_ = 0;
    int row_ = 1, col_ = 0, rowSel_ = 1, colSel_ = 0;
    std::vector<int> colWidth_;      // twips
    std::vector<int> rowHeight_;     // twips, -1 = from the font
    std::vector<int> colAlign_;
    std::vector<int> fixedAlign_;
    int mousePointer_ = 0;
    QColor backColor_, backColorFixed_, foreColor_;
    FontSpec font_;
    QFont qfont_;
    int defaultRowHeight_ = 0;   // twips
    bool enabled_ = true;
    int16_t index_ = 0;
    bool selecting_ = false;          // left button held after a press on a cell
    bool afterDoubleClick_ = false;   // the release that ends a double click is no click
};

// The system colour of window backgrounds (&H80000005): the body of an enabled table.
QColor WindowBackgroundColor();
