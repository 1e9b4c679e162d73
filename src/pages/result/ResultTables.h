#pragma once
// The three kinds of result table: their heads and their layouts. A layout is fixed per
// kind, the same on screen and on paper, whichever table was drawn before.
#include "pages/common/TableLayout.h"
#include "pages/common/VariantMatrix.h"

// Vertical sections: z, x, the mark "u"/"o", wh, wv.
const TableLayout& VerticalSectionLayout();
// Horizontal sections: z, x, wh (left-aligned), wv.
const TableLayout& HorizontalSectionLayout();
// Base corners: the side's label, z, x, wh, wv; 28 mm in from the area's left edge.
const TableLayout& BaseLayout();

VariantMatrix VerticalSectionHead();
VariantMatrix HorizontalSectionHead();
VariantMatrix BaseHead();
