#pragma once
// The defaults the pages write into a record's diagram layout rows (G0) while its
// results are new.
#include <cstdint>

class Guard;
class clsDATEN;

// Row 11, the section diagram: x to the right, z downward, margins 11, 7, 7, 11 mm,
// equal scales, the pressure scale 5 kN/m² per mm when asked, and scales 0 so that the
// next drawing computes scales that fit the bounds it fits anew.
void WriteSectionLayoutDefaults(Guard& g, clsDATEN& G0, bool pressureScale);
// A heading strip's or legend's row: a millimetre grid from the area's top-left corner
// (no margins, scales 1), with the pressure scale 0.5 when asked.
void WriteGridLayoutDefaults(Guard& g, clsDATEN& G0, int16_t IDOBJEKT, bool pressureScale);
