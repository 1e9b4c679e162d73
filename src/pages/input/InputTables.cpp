#include "InputTables.h"
#include "platform/VbError.h"

VariantMatrix LayerHead()
{
    return VariantMatrix::FromRows({{"z", "k"}, {"[m]", "[m/s]"}});
}

VariantMatrix PointHead()
{
    return VariantMatrix::FromRows({{"z", "x"}, {"[m]", "[m]"}});
}

VariantMatrix PointBody(const std::vector<float>& Z, const std::vector<float>& X)
{
    if (Z.empty() || X.size() != Z.size())
        throw VbError(VbErr::Subscript);
    VariantMatrix body(2, int(Z.size()));
    for (std::size_t i = 0; i < Z.size(); ++i) {
        body(0, int(i)) = Variant(Z[i]);
        body(1, int(i)) = Variant(X[i]);
    }
    return body;
}

VariantMatrix LayerBody(const std::vector<float>& Z, const std::vector<float>& KF)
{
    VariantMatrix body = PointBody(Z, KF);
    body(1, 0) = Variant(QStringLiteral("GOK"));
    return body;
}

// The bottom margin is the table class's own default: these tables leave it as it is.
const TableLayout& LayerTableLayout()
{
    static const TableLayout layout{7, 0.2f, 5, 2.5f, {13, 20}, {1}, {0}, 1, {2, 2}, {"0.00", "0.00E+00"}, 3.5f};
    return layout;
}

const TableLayout& PointTableLayout()
{
    static const TableLayout layout{7, 0.2f, 5, 2.5f, {13, 13}, {1}, {0}, 1, {2, 2}, {"0.00", "0.00"}, 3.5f};
    return layout;
}
