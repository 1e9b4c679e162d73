#pragma once
// The point marks of the diagram and table classes, drawn around (cx, cy) in page
// millimetres in one colour with the current pen: 0 diagonal cross, 1 filled square,
// 2 open square, 3 filled circle, 4 circle in the current fill style, 5 triangle,
// 6 star. Any other number draws nothing.
#include "platform/OutputObject.h"
#include <cstdint>

// After the filled circle (3) the fill is transparent again in the colour fillAfter.
void DrawMark(OutputObject& o, int number, double cx, double cy, int32_t colour, int32_t fillAfter);
