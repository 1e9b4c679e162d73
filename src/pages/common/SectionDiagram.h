#pragma once
// The section diagram both pages draw in area 11 on layout row 11: its axis tables
// and settings, the fitting of the bounds to the section, and the section itself from
// the water lines to the flow lines. A page draws its axes between fitting and section.
#include "SectionInput.h"
#include "draw/AxisScale.h"

class Guard;
class clsGRAFIK;
struct Context;

// The same tables on both axes: 65 allowed bounds, and 42 allowed ranges with their
// tick intervals, a grid line at every tick and their label counts.
const AxisTables& SectionAxisTables();
// The axes' settings, from the fitting switches (all four bounds fitted while the
// record's results are new) to the drawing type.
void SectionAxisSettings(Guard& g, clsGRAFIK& d, bool BONEU);
// Fits the bounds to layers, flow lines and outlines (not the water levels); draws nothing.
void FitSection(Guard& g, clsGRAFIK& d, const SectionInput& s);
// Water lines with their level triangles, ground hatching, layer boundaries, the
// structure and the flow lines, with MX, XMIN and XMAX of row 11 as the axes left them.
// The bar stands at 81 once the structure's lines begin.
void DrawSection(Guard& g, clsGRAFIK& d, const SectionInput& s, float MX, float XMIN, float XMAX, const Context& ctx);
