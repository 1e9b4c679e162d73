#pragma once
// The text routine of the table and header classes: a text in the reduced title
// mark-up (plain runs and groups; no symbols, no exponent rule, no rotation) drawn
// with its left edge, middle or right edge and its top, middle or bottom at a point.
#include "draw/DrawSettings.h"
#include "platform/DialogService.h"
#include "platform/OutputObject.h"
#include "platform/Variant.h"

// Where the header's copy of the routine differs from the table's.
struct MarkupTextRules {
    bool raiseGreek = true;          // "g" runs stand 0.1 of the height of "g" above the line
    bool printerCharShift = false;   // on the printer a "c" character first moves right by 0.35 of its height
};

// Draws the text at (x, y), ah 0/1/2 putting its left edge/middle/right edge and av 0/1/2
// its top/middle/bottom there. Font 0 of the set becomes the object's font; each run is
// printed in its font of the set from the top-left of its cell, and the object has font 0
// again afterwards. Null draws nothing. Errors show the box "Sub TEXT, Klassenmodul
// clsGRAFIK"; a malformed group ends the text after its one box, the runs before it stay.
void MarkupText(DialogService& dialogs, OutputObject& o, FontSet& fonts, double x, double y,
                const Variant& text, int ah, int av, MarkupTextRules rules = {});
