#include "ResultTables.h"

const TableLayout& VerticalSectionLayout()
{
    static const TableLayout layout{5, 0.2f, 1, 1, {9, 9, 6, 13, 13}, {1, 2, 2, 1}, {0, 0, 0, 0}, 1,
                                    {2, 2, 1, 2, 2}, {"0.00", "0.00", "", "0.00", "0.00"}, 3};
    return layout;
}

const TableLayout& HorizontalSectionLayout()
{
    static const TableLayout layout{5, 0.2f, 1, 1, {9, 9, 9, 13}, {2, 1, 2}, {0, 0, 0}, 1,
                                    {2, 2, 0, 2}, {"0.00", "0.00", "0.00", "0.00"}, 3};
    return layout;
}

const TableLayout& BaseLayout()
{
    static const TableLayout layout{5, 0.2f, 28, 1, {14, 9, 9, 13, 13}, {1, 1, 2, 1}, {0, 0, 0, 0}, 1,
                                    {0, 2, 2, 2, 2}, {"", "0.00", "0.00", "0.00", "0.00"}, 3};
    return layout;
}

VariantMatrix VerticalSectionHead()
{
    return VariantMatrix::FromRows({{"z", "x", "o/u", "w{t,1}h", "w{t,1}v"},
                                    {"[m]", "[m]", "", "[kN/m²]", "[kN/m²]"}});
}

VariantMatrix HorizontalSectionHead()
{
    return VariantMatrix::FromRows({{"z", "x", "w{t,1}h", "w{t,1}v"}, {"[m]", "[m]", "[kN/m²]", "[kN/m²]"}});
}

VariantMatrix BaseHead()
{
    return VariantMatrix::FromRows({{Variant(), "z", "x", "w{t,1}h", "w{t,1}v"},
                                    {Variant(), "[m]", "[m]", "[kN/m²]", "[kN/m²]"}});
}
