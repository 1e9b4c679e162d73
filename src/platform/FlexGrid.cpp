#include "FlexGrid.h"

#include "InputCodes.h"
#include "PainterSurface.h"
#include "Twips.h"
#include "Variant.h"
#include "VbError.h"
#include "Yield.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QScrollBar>
#include <algorithm>

namespace {

constexpr int DefaultColWidth = 960;   // twips
constexpr int GeneralAlignment = 9;
constexpr int LeftCentre = 1;
const QColor GridLineColour(192, 192, 192);
const QColor FixedLineColour(128, 128, 128);

Qt::Alignment alignmentFlags(int alignment, const QString& text)
{
    if (alignment == GeneralAlignment)
        alignment = IsNumeric(Variant(text)) ? 7 : LeftCentre;
    static const Qt::Alignment across[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    static const Qt::Alignment down[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
    return across[alignment / 3] | down[alignment % 3];
}

} // namespace

QColor WindowBackgroundColor()
{
    return QApplication::palette().color(QPalette::Active, QPalette::Base);
}

FlexGrid::FlexGrid(QWidget* parent) : QAbstractScrollArea(parent)
{
    backColor_ = WindowBackgroundColor();
    backColorFixed_ = QApplication::palette().color(QPalette::Active, QPalette::Button);
    foreColor_ = QApplication::palette().color(QPalette::Active, QPalette::Text);
    useFont(font_);
    cells_.assign(2, std::vector<Cell>(size_t(cols_)));
    rowHeight_.assign(2, -1);
    colWidth_.assign(size_t(cols_), DefaultColWidth);
    colAlign_.assign(size_t(cols_), GeneralAlignment);
    fixedAlign_.assign(size_t(cols_), LeftCentre);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setSingleStep(1);
    updateScrollBars();
}

// ---------------------------------------------------------------- checks

void FlexGrid::checkRow(int row) const
{
    if (row < 0 || row >= Rows())
        throw VbError(VbErr::InvalidArrayIndex);
}

void FlexGrid::checkCol(int col) const
{
    if (col < 0 || col >= cols_)
        throw VbError(VbErr::InvalidArrayIndex);
}

void FlexGrid::checkAlignment(int alignment)
{
    if (alignment < 0 || alignment > GeneralAlignment)
        throw VbError(VbErr::InvalidProperty);
}

// ---------------------------------------------------------------- size

void FlexGrid::setRows(int rows)
{
    if (rows <= fixedRows_ || rows > MaxRows)
        throw VbError(VbErr::InvalidProperty);
    cells_.resize(size_t(rows), std::vector<Cell>(size_t(cols_)));
    rowHeight_.resize(size_t(rows), -1);
    row_ = std::min(row_, rows - 1);
    rowSel_ = std::min(rowSel_, rows - 1);
    updateScrollBars();
    viewport()->update();
}

void FlexGrid::setCols(int cols)
{
    if (cols <= fixedCols_)
        throw VbError(VbErr::InvalidProperty);
    for (auto& row : cells_)
        row.resize(size_t(cols));
    colWidth_.resize(size_t(cols), DefaultColWidth);
    colAlign_.resize(size_t(cols), GeneralAlignment);
    fixedAlign_.resize(size_t(cols), LeftCentre);
    cols_ = cols;
    col_ = std::min(col_, cols - 1);
    colSel_ = std::min(colSel_, cols - 1);
    updateScrollBars();
    viewport()->update();
}

void FlexGrid::setFixedRows(int rows)
{
    if (rows < 0 || rows >= Rows())
        throw VbError(VbErr::InvalidProperty);
    fixedRows_ = rows;
    row_ = std::max(row_, rows);
    rowSel_ = std::max(rowSel_, rows);
    updateScrollBars();
    viewport()->update();
}

void FlexGrid::setFixedCols(int cols)
{
    if (cols < 0 || cols >= cols_)
        throw VbError(VbErr::InvalidProperty);
    fixedCols_ = cols;
    col_ = std::max(col_, cols);
    colSel_ = std::max(colSel_, cols);
    updateScrollBars();
    viewport()->update();
}

// ---------------------------------------------------------------- current cell and selection

void FlexGrid::setCurrent(int row, int col)
{
    row_ = rowSel_ = row;
    col_ = colSel_ = col;
    viewport()->update();
}

void FlexGrid::setRow(int row)
{
    checkRow(row);
    setCurrent(row, col_);
    scrollIntoView(row_, col_);
}

void FlexGrid::setCol(int col)
{
    checkCol(col);
    setCurrent(row_, col);
    scrollIntoView(row_, col_);
}

void FlexGrid::setRowSel(int row)
{
    checkRow(row);
    rowSel_ = row;
    viewport()->update();
}

void FlexGrid::setColSel(int col)
{
    checkCol(col);
    colSel_ = col;
    viewport()->update();
}

int FlexGrid::TopRow() const
{
    return fixedRows_ + verticalScrollBar()->value();
}

void FlexGrid::setTopRow(int row)
{
    checkRow(row);
    verticalScrollBar()->setValue(row - fixedRows_);
}

int FlexGrid::LeftCol() const
{
    return fixedCols_ + horizontalScrollBar()->value();
}

void FlexGrid::setLeftCol(int col)
{
    checkCol(col);
    horizontalScrollBar()->setValue(col - fixedCols_);
}

void FlexGrid::extendSelectionTo(int row, int col)
{
    if (row == rowSel_ && col == colSel_)
        return;
    rowSel_ = row;
    colSel_ = col;
    viewport()->update();
}

// ---------------------------------------------------------------- cells

QString FlexGrid::TextMatrix(int row, int col) const
{
    checkRow(row);
    checkCol(col);
    return cells_[size_t(row)][size_t(col)].text;
}

void FlexGrid::setTextMatrix(int row, int col, const QString& text)
{
    checkRow(row);
    checkCol(col);
    cells_[size_t(row)][size_t(col)].setText(text);
    updateCell(row, col);
}

void FlexGrid::ReformatCell(int row, int col, const QString& text)
{
    checkRow(row);
    checkCol(col);
    cells_[size_t(row)][size_t(col)].text = text;
    updateCell(row, col);
}

void FlexGrid::setLoadedValue(int row, int col, const Variant& value)
{
    checkRow(row);
    checkCol(col);
    cells_[size_t(row)][size_t(col)].loaded = std::make_shared<const Variant>(value);
}

std::optional<Variant> FlexGrid::LoadedValue(int row, int col) const
{
    checkRow(row);
    checkCol(col);
    const Cell& cell = cells_[size_t(row)][size_t(col)];
    return cell.loaded ? std::optional<Variant>(*cell.loaded) : std::nullopt;
}

void FlexGrid::Cell::setText(const QString& typed)
{
    // Another text is an edit: the value the cell was loaded with no longer stands.
    if (typed != text)
        loaded.reset();
    text = typed;
}

QString FlexGrid::Clip() const
{
    const int r0 = std::min(row_, rowSel_), r1 = std::max(row_, rowSel_);
    const int c0 = std::min(col_, colSel_), c1 = std::max(col_, colSel_);
    QStringList rows;
    for (int r = r0; r <= r1; ++r) {
        QStringList cells;
        for (int c = c0; c <= c1; ++c)
            cells << cells_[size_t(r)][size_t(c)].text;
        rows << cells.join(QLatin1Char('\t'));
    }
    return rows.join(QLatin1Char('\r'));
}

std::vector<FlexGrid::ClipCell> FlexGrid::ClipCells(const QString& text) const
{
    static const QRegularExpression rowEnd(QStringLiteral("\r\n|\r|\n"));
    QStringList rows = text.split(rowEnd);
    if (rows.size() > 1 && rows.last().isEmpty())
        rows.removeLast();
    const int r0 = std::min(row_, rowSel_), r1 = std::max(row_, rowSel_);
    const int c0 = std::min(col_, colSel_), c1 = std::max(col_, colSel_);
    std::vector<ClipCell> placed;
    for (int i = 0; i < rows.size() && r0 + i <= r1; ++i) {
        const QStringList cells = rows[i].split(QLatin1Char('\t'));
        for (int k = 0; k < cells.size() && c0 + k <= c1; ++k)
            placed.push_back({r0 + i, c0 + k, cells[k]});
    }
    return placed;
}

void FlexGrid::setCells(const std::vector<ClipCell>& cells)
{
    // All or nothing: a cell outside the grid is found before any is written.
    for (const ClipCell& c : cells) {
        checkRow(c.row);
        checkCol(c.col);
    }
    for (const ClipCell& c : cells)
        cells_[size_t(c.row)][size_t(c.col)].setText(c.text);
    viewport()->update();
}

void FlexGrid::AddItem(const QString& item, std::optional<int> index)
{
    const int at = index.value_or(Rows());
    if (at < fixedRows_ || at > Rows())
        throw VbError(VbErr::InvalidArrayIndex);
    if (Rows() == MaxRows)
        throw VbError(VbErr::InvalidProperty);
    std::vector<Cell> row(static_cast<size_t>(cols_));
    const QStringList cells = item.split(QLatin1Char('\t'));
    for (int c = 0; c < cells.size() && c < cols_; ++c)
        row[size_t(c)].text = cells[c];
    cells_.insert(cells_.begin() + at, std::move(row));
    rowHeight_.insert(rowHeight_.begin() + at, -1);
    updateScrollBars();
    viewport()->update();
}

void FlexGrid::RemoveItem(int index)
{
    if (index < fixedRows_ || index >= Rows())
        throw VbError(VbErr::InvalidArrayIndex);
    if (Rows() == fixedRows_ + 1)
        throw VbError(VbErr::InvalidProperty);
    cells_.erase(cells_.begin() + index);
    rowHeight_.erase(rowHeight_.begin() + index);
    row_ = std::min(row_, Rows() - 1);
    rowSel_ = std::min(rowSel_, Rows() - 1);
    updateScrollBars();
    viewport()->update();
}

// ---------------------------------------------------------------- geometry

int FlexGrid::ColWidth(int col) const
{
    checkCol(col);
    return colWidth_[size_t(col)];
}

void FlexGrid::setColWidth(int col, int twips)
{
    checkCol(col);
    if (twips < 0)
        throw VbError(VbErr::InvalidProperty);
    colWidth_[size_t(col)] = twips;
    updateScrollBars();
    viewport()->update();
}

int FlexGrid::RowHeight(int row) const
{
    checkRow(row);
    const int h = rowHeight_[size_t(row)];
    return h < 0 ? defaultRowHeight_ : h;
}

void FlexGrid::setRowHeight(int row, int twips)
{
    checkRow(row);
    if (twips < 0)
        throw VbError(VbErr::InvalidProperty);
    rowHeight_[size_t(row)] = twips;
    updateScrollBars();
    viewport()->update();
}

int FlexGrid::ColAlignment(int col) const
{
    checkCol(col);
    return colAlign_[size_t(col)];
}

void FlexGrid::setColAlignment(int col, int alignment)
{
    checkCol(col);
    checkAlignment(alignment);
    colAlign_[size_t(col)] = alignment;
    viewport()->update();
}

int FlexGrid::FixedAlignment(int col) const
{
    checkCol(col);
    return fixedAlign_[size_t(col)];
}

void FlexGrid::setFixedAlignment(int col, int alignment)
{
    checkCol(col);
    checkAlignment(alignment);
    fixedAlign_[size_t(col)] = alignment;
    viewport()->update();
}

int FlexGrid::fixedHeight() const
{
    int h = 0;
    for (int r = 0; r < fixedRows_; ++r)
        h += RowHeight(r);
    return h;
}

int FlexGrid::fixedWidth() const
{
    int w = 0;
    for (int c = 0; c < fixedCols_; ++c)
        w += colWidth_[size_t(c)];
    return w;
}

int FlexGrid::rowOffset(int row) const
{
    if (row < fixedRows_) {
        int y = 0;
        for (int r = 0; r < row; ++r)
            y += RowHeight(r);
        return y;
    }
    int y = fixedHeight();
    const int top = TopRow();
    for (int r = top; r < row; ++r)
        y += RowHeight(r);
    for (int r = row; r < top; ++r)
        y -= RowHeight(r);
    return y;
}

int FlexGrid::colOffset(int col) const
{
    if (col < fixedCols_) {
        int x = 0;
        for (int c = 0; c < col; ++c)
            x += colWidth_[size_t(c)];
        return x;
    }
    int x = fixedWidth();
    const int left = LeftCol();
    for (int c = left; c < col; ++c)
        x += colWidth_[size_t(c)];
    for (int c = col; c < left; ++c)
        x -= colWidth_[size_t(c)];
    return x;
}

int FlexGrid::CellLeft() const
{
    return viewport()->x() * TwipsPerPixel + colOffset(col_);
}

int FlexGrid::CellTop() const
{
    return viewport()->y() * TwipsPerPixel + rowOffset(row_);
}

bool FlexGrid::RowIsVisible(int row) const
{
    checkRow(row);
    const int bottomPx = viewport()->height();
    if (row < fixedRows_)
        return PixelsOfTwips(rowOffset(row) + RowHeight(row)) <= bottomPx;
    if (row < TopRow())
        return false;
    // Walk down from the top row, but no further than the bottom of the view.
    int y = fixedHeight();
    for (int r = TopRow(); r <= row; ++r) {
        y += RowHeight(r);
        if (PixelsOfTwips(y) > bottomPx)
            return false;
    }
    return true;
}

bool FlexGrid::ColIsVisible(int col) const
{
    checkCol(col);
    if (col >= fixedCols_ && col < LeftCol())
        return false;
    return PixelsOfTwips(colOffset(col)) < viewport()->width();
}

int FlexGrid::Left() const { return x() * TwipsPerPixel; }
int FlexGrid::Top() const { return y() * TwipsPerPixel; }
int FlexGrid::Width() const { return width() * TwipsPerPixel; }
int FlexGrid::Height() const { return height() * TwipsPerPixel; }

std::vector<FlexGrid::Span> FlexGrid::rowSpans() const
{
    std::vector<Span> spans;
    const int bottom = viewport()->height();
    int y = 0;
    auto add = [&](int r) {
        const int start = PixelsOfTwips(y);
        y += RowHeight(r);
        spans.push_back({r, start, PixelsOfTwips(y)});
        return start < bottom;
    };
    for (int r = 0; r < fixedRows_; ++r)
        add(r);
    for (int r = TopRow(); r < Rows() && PixelsOfTwips(y) < bottom; ++r)
        add(r);
    return spans;
}

std::vector<FlexGrid::Span> FlexGrid::colSpans() const
{
    std::vector<Span> spans;
    const int right = viewport()->width();
    int x = 0;
    auto add = [&](int c) {
        const int start = PixelsOfTwips(x);
        x += colWidth_[size_t(c)];
        spans.push_back({c, start, PixelsOfTwips(x)});
    };
    for (int c = 0; c < fixedCols_; ++c)
        add(c);
    for (int c = LeftCol(); c < cols_ && PixelsOfTwips(x) < right; ++c)
        add(c);
    return spans;
}

std::optional<int> FlexGrid::scrollableAt(const std::vector<Span>& spans, int fixed, int pos)
{
    std::optional<int> last;
    for (const Span& s : spans) {
        if (s.index < fixed) {
            if (pos < s.end)
                return std::nullopt;
            continue;
        }
        last = s.index;
        if (pos < s.end)
            return s.index;
    }
    return last;
}

std::optional<int> FlexGrid::rowAt(int y) const
{
    return scrollableAt(rowSpans(), fixedRows_, y);
}

std::optional<int> FlexGrid::colAt(int x) const
{
    return scrollableAt(colSpans(), fixedCols_, x);
}

// ---------------------------------------------------------------- scrolling

void FlexGrid::updateScrollBars()
{
    // The last top row: the one from which the remaining rows just fit below the fixed ones.
    auto lastStart = [](int first, int count, int room, auto&& size) {
        int used = 0;
        int start = count;
        while (start > first && used + size(start - 1) <= room)
            used += size(--start);
        return std::min(start, count - 1);
    };
    const int roomDown = viewport()->height() * TwipsPerPixel - fixedHeight();
    const int roomAcross = viewport()->width() * TwipsPerPixel - fixedWidth();
    const int maxTop = lastStart(fixedRows_, Rows(), roomDown, [this](int r) { return RowHeight(r); });
    const int maxLeft = lastStart(fixedCols_, cols_, roomAcross, [this](int c) { return colWidth_[size_t(c)]; });
    verticalScrollBar()->setRange(0, std::max(0, maxTop - fixedRows_));
    horizontalScrollBar()->setRange(0, std::max(0, maxLeft - fixedCols_));
    const int rowHeight = std::max(1, RowHeight(std::min(TopRow(), Rows() - 1)));
    verticalScrollBar()->setPageStep(std::max(1, roomDown / rowHeight));
    horizontalScrollBar()->setPageStep(1);
}

void FlexGrid::scrollIntoView(int row, int col)
{
    const int roomDown = viewport()->height() * TwipsPerPixel - fixedHeight();
    if (row >= fixedRows_) {
        if (row < TopRow()) {
            setTopRow(row);
        } else if (!RowIsVisible(row)) {
            int top = row, used = RowHeight(row);
            while (top > fixedRows_ && used + RowHeight(top - 1) <= roomDown)
                used += RowHeight(--top);
            setTopRow(top);
        }
    }
    const int roomAcross = viewport()->width() * TwipsPerPixel - fixedWidth();
    if (col >= fixedCols_) {
        if (col < LeftCol()) {
            setLeftCol(col);
        } else if (colOffset(col) + colWidth_[size_t(col)] > viewport()->width() * TwipsPerPixel) {
            int left = col, used = colWidth_[size_t(col)];
            while (left > fixedCols_ && used + colWidth_[size_t(left - 1)] <= roomAcross)
                used += colWidth_[size_t(--left)];
            setLeftCol(left);
        }
    }
}

void FlexGrid::scrollContentsBy(int, int)
{
    viewport()->update();
    emit scroll();
}

void FlexGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void FlexGrid::updateCell(int row, int col)
{
    // Cells out of view need no repaint: filling a long grid stays cheap.
    if (col >= fixedCols_ && col < LeftCol())
        return;
    if (row >= fixedRows_) {
        if (row < TopRow())
            return;
        int y = fixedHeight();
        for (int r = TopRow(); r < row; ++r) {
            y += RowHeight(r);
            if (PixelsOfTwips(y) >= viewport()->height())
                return;
        }
    }
    viewport()->update();
}

// ---------------------------------------------------------------- look

void FlexGrid::setMousePointer(int pointer)
{
    const Qt::CursorShape shape = MousePointerShape(pointer);
    mousePointer_ = pointer;
    if (pointer == 0)
        viewport()->unsetCursor();
    else
        viewport()->setCursor(shape);
}

void FlexGrid::setBackColor(const QColor& colour)
{
    backColor_ = colour;
    viewport()->update();
}

void FlexGrid::setBackColorFixed(const QColor& colour)
{
    backColorFixed_ = colour;
    viewport()->update();
}

void FlexGrid::setForeColor(const QColor& colour)
{
    foreColor_ = colour;
    viewport()->update();
}

void FlexGrid::setFontSpec(const FontSpec& font)
{
    useFont(font);
    updateScrollBars();
    viewport()->update();
}

void FlexGrid::useFont(const FontSpec& font)
{
    font_ = font;
    qfont_ = ResolveFont(font_, TwipsDpi);
    defaultRowHeight_ = (QFontMetrics(qfont_).height() + 4) * TwipsPerPixel;
}

void FlexGrid::setEnabledFlag(bool enabled)
{
    enabled_ = enabled;
    setFocusPolicy(enabled ? Qt::StrongFocus : Qt::NoFocus);
    if (!enabled && hasFocus())
        clearFocus();
    verticalScrollBar()->setEnabled(enabled);
    horizontalScrollBar()->setEnabled(enabled);
    viewport()->update();
}

void FlexGrid::SetFocus()
{
    setFocus(Qt::OtherFocusReason);
}

void FlexGrid::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void FlexGrid::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void FlexGrid::paintEvent(QPaintEvent*)
{
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), palette().color(QPalette::Dark));
    p.setFont(qfont_);
    const auto rows = rowSpans();
    const auto cols = colSpans();
    const int r0 = std::min(row_, rowSel_), r1 = std::max(row_, rowSel_);
    const int c0 = std::min(col_, colSel_), c1 = std::max(col_, colSel_);
    const bool block = r0 != r1 || c0 != c1;
    const QPalette& pal = palette();
    for (const Span& r : rows) {
        for (const Span& c : cols) {
            const QRect cell(c.start, r.start, c.end - c.start, r.end - r.start);
            const bool fixed = r.index < fixedRows_ || c.index < fixedCols_;
            const bool current = r.index == row_ && c.index == col_;
            const bool selected = !fixed && block && !current && r.index >= r0 && r.index <= r1
                && c.index >= c0 && c.index <= c1;
            p.fillRect(cell, fixed ? backColorFixed_ : selected ? pal.color(QPalette::Highlight) : backColor_);
            p.setPen(fixed ? FixedLineColour : GridLineColour);
            p.drawLine(cell.topRight(), cell.bottomRight());
            p.drawLine(cell.bottomLeft(), cell.bottomRight());
            const QString& text = cells_[size_t(r.index)][size_t(c.index)].text;
            if (text.isEmpty())
                continue;
            p.setPen(selected ? pal.color(QPalette::HighlightedText) : foreColor_);
            const int alignment = fixed ? fixedAlign_[size_t(c.index)] : colAlign_[size_t(c.index)];
            p.drawText(cell.adjusted(3, 1, -3, -1), int(alignmentFlags(alignment, text)), text);
        }
    }
    if (enabled_ && hasFocus()) {
        const auto r = std::find_if(rows.begin(), rows.end(), [&](const Span& s) { return s.index == row_; });
        const auto c = std::find_if(cols.begin(), cols.end(), [&](const Span& s) { return s.index == col_; });
        if (r != rows.end() && c != cols.end()) {
            QPen pen(foreColor_, 1, Qt::DotLine);
            p.setPen(pen);
            p.drawRect(QRect(c->start + 1, r->start + 1, c->end - c->start - 3, r->end - r->start - 3));
        }
    }
}

// ---------------------------------------------------------------- input

QPointF FlexGrid::twipsOf(QPointF viewportPos) const
{
    return (viewportPos + QPointF(viewport()->pos())) * TwipsPerPixel;
}

void FlexGrid::emitMouse(void (FlexGrid::*signal)(int, int, float, float), QMouseEvent* event, int button)
{
    const QPointF tw = twipsOf(event->position());
    emit(this->*signal)(button, ShiftCode(event->modifiers()), float(tw.x()), float(tw.y()));
}

void FlexGrid::mousePressEvent(QMouseEvent* event)
{
    if (!enabled_)
        return;
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton) {
        const QPoint pos = event->position().toPoint();
        const auto row = rowAt(pos.y());
        const auto col = colAt(pos.x());
        const bool onCell = row && col && pos.y() < rowSpans().back().end && pos.x() < colSpans().back().end;
        if (onCell) {
            setCurrent(*row, *col);
            selecting_ = true;
        }
    }
    emitMouse(&FlexGrid::mouseDown, event, MouseButtonCode(event->button()));
}

void FlexGrid::mouseMoveEvent(QMouseEvent* event)
{
    if (!enabled_)
        return;
    if (selecting_ && (event->buttons() & Qt::LeftButton)) {
        const QPoint pos = event->position().toPoint();
        // Dragging past an edge scrolls one row or column on.
        if (pos.y() >= viewport()->height())
            verticalScrollBar()->setValue(verticalScrollBar()->value() + 1);
        else if (pos.y() < PixelsOfTwips(fixedHeight()) && TopRow() > fixedRows_)
            verticalScrollBar()->setValue(verticalScrollBar()->value() - 1);
        if (pos.x() >= viewport()->width())
            horizontalScrollBar()->setValue(horizontalScrollBar()->value() + 1);
        else if (pos.x() < PixelsOfTwips(fixedWidth()) && LeftCol() > fixedCols_)
            horizontalScrollBar()->setValue(horizontalScrollBar()->value() - 1);
        const int row = pos.y() < PixelsOfTwips(fixedHeight()) ? TopRow() : rowAt(pos.y()).value_or(TopRow());
        const int col = pos.x() < PixelsOfTwips(fixedWidth()) ? LeftCol() : colAt(pos.x()).value_or(LeftCol());
        extendSelectionTo(row, col);
    }
    emitMouse(&FlexGrid::mouseMove, event, MouseButtonCode(event->buttons()));
}

void FlexGrid::mouseReleaseEvent(QMouseEvent* event)
{
    if (!enabled_)
        return;
    selecting_ = false;
    emitMouse(&FlexGrid::mouseUp, event, MouseButtonCode(event->button()));
    const bool click = event->button() == Qt::LeftButton && !afterDoubleClick_;
    afterDoubleClick_ = false;
    if (click)
        emit this->click();
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!enabled_)
        return;
    afterDoubleClick_ = true;
    if (event->button() == Qt::LeftButton)
        emit dblClick();
}

void FlexGrid::moveByKey(QKeyEvent* event)
{
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    int row = extend ? rowSel_ : row_;
    int col = extend ? colSel_ : col_;
    const int page = std::max(1, verticalScrollBar()->pageStep());
    switch (event->key()) {
    case Qt::Key_Up: --row; break;
    case Qt::Key_Down: ++row; break;
    case Qt::Key_Left: --col; break;
    case Qt::Key_Right: ++col; break;
    case Qt::Key_PageUp: row -= page; break;
    case Qt::Key_PageDown: row += page; break;
    case Qt::Key_Home:
        col = fixedCols_;
        if (ctrl)
            row = fixedRows_;
        break;
    case Qt::Key_End:
        col = cols_ - 1;
        if (ctrl)
            row = Rows() - 1;
        break;
    default: return;
    }
    row = std::clamp(row, fixedRows_, Rows() - 1);
    col = std::clamp(col, fixedCols_, cols_ - 1);
    if (extend)
        extendSelectionTo(row, col);
    else
        setCurrent(row, col);
    scrollIntoView(row, col);
    event->accept();
}

void FlexGrid::keyPressEvent(QKeyEvent* event)
{
    if (!enabled_) {
        event->ignore();
        return;
    }
    event->ignore();
    moveByKey(event);
    if (const int code = KeyAscii(*event)) {
        event->accept();
        emit keyPress(code);
    }
}
