#pragma once
// The three kinds of result table: their heads and their layouts. A layout is fixed per
// kind, the same on screen and on paper, whichever table was drawn before.
#include "pages/common/VariantMatrix.h"
#include "pages/common/clsTABELLE.h"

class Guard;

struct TableLayout {
    float ERO, ERZ, ERL, ERU;
    VariantList ELSB, ELGIT, ELGITLEER;
    float EZA;
    VariantList ELA, ELFORMAT;
    float EZH;
};

// Vertical sections: z, x, the mark "u"/"o", wh, wv.
const TableLayout& VerticalSectionLayout();
// Horizontal sections: z, x, wh (left-aligned), wv.
const TableLayout& HorizontalSectionLayout();
// Base corners: the side's label, z, x, wh, wv; 28 mm in from the area's left edge.
const TableLayout& BaseLayout();
// Sets the layout in the order the table class needs (the widths reset the line
// lists), each setting one step of g.
void ApplyLayout(Guard& g, clsTABELLE& t, const TableLayout& layout);

VariantMatrix VerticalSectionHead();
VariantMatrix HorizontalSectionHead();
VariantMatrix BaseHead();
