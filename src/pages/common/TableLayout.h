#pragma once
// The settings that lay out a page's table, fixed per kind of table: the same on
// screen and on paper, whichever table was drawn before.
#include "clsTABELLE.h"

class Guard;

struct TableLayout {
    float ERO, ERZ, ERL, ERU;
    VariantList ELSB, ELGIT, ELGITLEER;
    float EZA;
    VariantList ELA, ELFORMAT;
    float EZH;
};

// Sets the layout in the order the table class needs (the widths reset the line
// lists), each setting one step of g.
void ApplyLayout(Guard& g, clsTABELLE& t, const TableLayout& layout);
