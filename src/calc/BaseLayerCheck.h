#pragma once
// The structure's base must lie within one layer section (of the left or the right
// layering), so that the link between the two flow lines has one permeability.
#include "CalcInput.h"

// True when the base corners (the outlines' last points) coincide, or when one
// section of the left, else of the right layers holds both: the shallower corner at
// or below its upper boundary and the deeper corner at or above its lower one.
bool BaseWithinOneLayer(const CalcInput& in);
