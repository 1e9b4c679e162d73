#pragma once
// The pressure results of one side as the result page reads them (A1 to A3), and the
// table bodies built from them.
#include "pages/common/VariantMatrix.h"
#include <cstdint>
#include <vector>

// The points of a side's pressure polygon in running-number order, with the components
// just above each point ("o", OU 0: the end of the segment arriving there) and just
// below it ("u", OU 1: the start of the segment leaving it). MAX is -1 for none.
struct VerticalSections {
    int16_t MAX = -1;
    std::vector<float> Z, X, WHO, WVO, WHU, WVU;
};

// A side's horizontal sections: start point (1) and end point (2) of each, with their
// components. MAX is -1 for none.
struct HorizontalSections {
    int16_t MAX = -1;
    std::vector<float> Z1, X1, WH1, WV1, Z2, X2, WH2, WV2;
};

struct ResultSide {
    VerticalSections V;
    HorizontalSections H;
    float WH = 0, WV = 0;   // components at the base corner
};

// One row per end of every segment that is not level (x differ, z equal): its upper
// point "u" with the values below it, then its lower point "o" with the values above
// it. Without such a segment one row whose cells hold no value.
VariantMatrix VerticalSectionBody(const VerticalSections& v);
// Start point, then end point of each section: z, x, wh, wv.
VariantMatrix HorizontalSectionBody(const HorizontalSections& h);
