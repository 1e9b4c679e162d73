#pragma once
// The pressure ordinates of the result page's section diagram: for both sides and the
// base, the hydrostatic pressure (computed from the groundwater levels) and the actual
// pressure the calculation stored, each drawn against its reference section at the
// pressure scale MSP (kN/m² per mm of drawing).
#include "ResultSections.h"
#include "pages/common/SectionInput.h"

class Guard;
struct Context;
class clsGRAFIK;

struct OrdinateInput {
    const SectionInput& section;        // the groundwater levels
    const ResultSide& L;
    const ResultSide& R;
    float XBLMIN = 0, XBRMAX = 0;       // the structure's extreme x, left and right
};

// Draws on the diagram d in the steps of its guard, with the scale MX (m per mm) of the
// drawn axes, moving the context's bar from 81 towards 89 as it goes. A scale MSP of 0
// or less draws no ordinate at all; a side without pressure-polygon points draws none
// of its own and none at the base.
void DrawPressureOrdinates(Guard& g, clsGRAFIK& d, const OrdinateInput& in, float MSP, float MX,
                           const Context& ctx);
