#include "ResultSections.h"
#include "calc/SingleMath.h"

namespace {

// A cell that holds no value shows nothing, whatever its column's number format.
const Variant kNoValue{QString()};

bool level(const VerticalSections& v, int i)
{
    return Element(v.X, i) != Element(v.X, i + 1) && Element(v.Z, i) == Element(v.Z, i + 1);
}

} // namespace

VariantMatrix VerticalSectionBody(const VerticalSections& v)
{
    VariantMatrix body(5, 1);
    int rows = 0;
    const auto row = [&](int i, const char* mark, const std::vector<float>& WH, const std::vector<float>& WV) {
        if (rows > 0)
            body.setRows(rows + 1);
        const Variant cells[] = {Element(v.Z, i), Element(v.X, i), QString::fromLatin1(mark), Element(WH, i),
                                 Element(WV, i)};
        for (int c = 0; c < 5; ++c)
            body(c, rows) = cells[c];
        ++rows;
    };
    for (int c = 0; c < 5; ++c)
        body(c, 0) = kNoValue;
    for (int i = 0; i < v.MAX;) {
        if (!level(v, i))
            row(i, "u", v.WHU, v.WVU);
        ++i;
        if (!level(v, i - 1))
            row(i, "o", v.WHO, v.WVO);
    }
    return body;
}

VariantMatrix HorizontalSectionBody(const HorizontalSections& h)
{
    VariantMatrix body(4, 2 * (h.MAX + 1));
    for (int i = 0; i <= h.MAX; ++i) {
        const Variant start[] = {Element(h.Z1, i), Element(h.X1, i), Element(h.WH1, i), Element(h.WV1, i)};
        const Variant end[] = {Element(h.Z2, i), Element(h.X2, i), Element(h.WH2, i), Element(h.WV2, i)};
        for (int c = 0; c < 4; ++c) {
            body(c, 2 * i) = start[c];
            body(c, 2 * i + 1) = end[c];
        }
    }
    return body;
}
