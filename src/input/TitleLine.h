#pragma once
// One column title on a grid table's title picture, in the grid table's subset of the
// title mark-up: groups "{code,n}" as the mark-up parser reads them, "t" and "gt"
// lowered by 0.35 and "h" and "gh" raised by 0.25 of the run's own height, "g", "gt"
// and "gh" in the Symbol face, "c" one character by its code; no other code changes
// the position, and there are no angles, symbols or exponent rule.
#include "platform/OutputObject.h"
#include "platform/Variant.h"
#include <array>

// Draws text with (x, y) in the picture's scale units as its anchor: ARX 0 begins,
// 1 centres, 2 ends the text there; ARY 0 puts the top, 1 the middle, 2 the bottom
// there. The text is measured without its groups in the picture's current font, which
// becomes font 0 of the set; the picture returns to it after every run. A Null text
// counts as empty. A group without a comma ends the line silently; a malformed group
// raises its error once the runs before it are drawn.
void DrawTitleLine(OutputObject& picture, std::array<FontSpec, 6>& fonts, double x, double y,
                   const Variant& text, int ARX, int ARY);

// A title as it reads on the title picture, without its groups' codes: "k{t,1}f" is
// "kf". For the boxes that name a column.
QString PlainTitle(const QString& text);
