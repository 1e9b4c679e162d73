#include "VariantMatrix.h"
#include "platform/VbError.h"

VariantMatrix::VariantMatrix(int columns, int rows)
    : dimensioned_(true), columns_(columns), rows_(rows)
{
    if (columns < 0 || rows < 0)
        throw VbError(VbErr::Subscript);
    cells_.resize(std::size_t(columns) * std::size_t(rows));
}

VariantMatrix VariantMatrix::FromRows(std::initializer_list<std::initializer_list<Variant>> rows)
{
    const int columns = rows.size() == 0 ? 0 : int(rows.begin()->size());
    VariantMatrix m(columns, int(rows.size()));
    int r = 0;
    for (const auto& row : rows) {
        if (int(row.size()) != columns)
            throw VbError(VbErr::Subscript);
        int c = 0;
        for (const Variant& v : row)
            m(c++, r) = v;
        ++r;
    }
    return m;
}

int VariantMatrix::columns() const
{
    if (!dimensioned_)
        throw VbError(VbErr::Subscript);
    return columns_;
}

int VariantMatrix::rows() const
{
    if (!dimensioned_)
        throw VbError(VbErr::Subscript);
    return rows_;
}

void VariantMatrix::setRows(int rows)
{
    if (!dimensioned_ || rows < 0)
        throw VbError(VbErr::Subscript);
    // Rows lie one after the other: the rows that stay keep their places, and a body
    // that grows row by row costs no more than one built at its full size.
    cells_.resize(std::size_t(columns_) * std::size_t(rows));
    rows_ = rows;
}

std::size_t VariantMatrix::index(int column, int row) const
{
    if (!dimensioned_ || column < 0 || column >= columns_ || row < 0 || row >= rows_)
        throw VbError(VbErr::Subscript);
    return std::size_t(row) * std::size_t(columns_) + std::size_t(column);
}

Variant& VariantMatrix::operator()(int column, int row)
{
    return cells_[index(column, row)];
}

const Variant& VariantMatrix::operator()(int column, int row) const
{
    return cells_[index(column, row)];
}
