#pragma once
// Axis range and tick selection of the diagram class: snapping bounds and ranges to
// the caller's tables and laying out the ticks (linear, or logarithmic in decades
// or multiples 1..9), and the scales of both axes. Errors are raised to the caller.
#include <cstdint>
#include <optional>
#include <vector>

// An axis table: an array with lower bound 0, or none.
using AxisTable = std::optional<std::vector<float>>;

// The five tables of one axis: allowed bounds, ranges, interval counts N, grid
// counts G and label counts Z (the counts are numbers of intervals across the axis).
struct AxisTables {
    AxisTable MIN, DIFF, IT, GIT, ZL;
};

// What the selection returns for one axis.
struct AxisTicks {
    std::vector<float> T;   // tick positions (log10 values on a logarithmic axis)
    std::vector<float> P;   // grid positions of a logarithmic axis
    int16_t N = 0;          // ticks 0..N
    int16_t NM = 0;         // last index of P
    int16_t G = 0;          // grid count
    int16_t Z = 0;          // label count
};

// Fits MIN and MAX (in and out, axis units) to the data and the tables and sets the
// ticks. NR is the call mode of the axes routine; autoMin/autoMax make a bound
// automatic; scaleType 0 linear, 1 logarithmic.
void SKALENTEILUNG(int NR, bool autoMin, bool autoMax, int scaleType,
                   const std::vector<float>& data, float& MIN, float& MAX,
                   AxisTicks& ticks, const AxisTables& tables);

// Scales in world units per mm: a scale of 0 is computed from the range and the box
// less its margins; MYMX > 0 then couples them so that both ranges fit
// (MY = MX * MYMX, or MX = MY / MYMX when that is the larger).
void MASSSTAEBE(float XMIN, float XMAX, float YMIN, float YMAX, float ELX, float ELY,
                float RL, float RR, float RU, float RO, float MYMX, float& MX, float& MY);
