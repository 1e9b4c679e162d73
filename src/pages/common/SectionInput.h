#pragma once
// The section of the active record as both pages read it: the groundwater levels, and
// per side the layer boundaries, the flow line and the structure outline in
// running-number order, with the x at which the levels and the boundaries meet the
// outline.
#include <vector>

class Guard;
class clsDATEN;
struct Context;

struct SectionSide {
    std::vector<float> ZS, KFS, XS;   // layer boundaries: depth, permeability above it, x on the outline
    std::vector<float> ZST, XST;      // flow line
    std::vector<float> ZB, XB;        // structure outline; its last point is the base corner
};

struct SectionInput {
    float ZGWLS = 0, ZGWRS = 0;   // groundwater levels
    float XGWLS = 0, XGWRS = 0;   // where they meet the outline of their side (0 where none does)
    SectionSide L, R;
};

// Reads levels, layers, flow lines and outlines through the views on E2 to E5 in the
// steps of the guarded load g, advancing the start window's bar, and finds where the
// levels and the boundaries meet the outlines. Permeabilities are read when asked.
// A list without rows shows its input-error box and ends the load g, as Cancel does;
// the lists read before it stay.
void ReadSectionInput(Guard& g, const Context& ctx, clsDATEN& E2, clsDATEN& E3, clsDATEN& E4, clsDATEN& E5,
                      bool withPermeability, SectionInput& s);
