#pragma once
// A two-dimensional array of variant cells indexed (column, row) from 0, as the pages
// hand heads and bodies to the table class. An array that was never dimensioned has
// no bounds: asking for them is error 9, like every index outside them.
#include "platform/Variant.h"
#include <initializer_list>
#include <vector>

class VariantMatrix {
public:
    VariantMatrix() = default;
    // Dimensioned with Empty cells.
    VariantMatrix(int columns, int rows);
    // Literal contents given row by row; every row as long as the first.
    static VariantMatrix FromRows(std::initializer_list<std::initializer_list<Variant>> rows);

    int columns() const;
    int rows() const;
    // Keeps the cells of the rows that stay (a ReDim Preserve of the last dimension).
    void setRows(int rows);
    Variant& operator()(int column, int row);
    const Variant& operator()(int column, int row) const;

private:
    std::size_t index(int column, int row) const;

    bool dimensioned_ = false;
    int columns_ = 0, rows_ = 0;
    std::vector<Variant> cells_;   // row by row: a row's columns lie together
};
