#pragma once
// The results the run writes: the pressure components at the two base corners (A1)
// and, per side, two vertical-section rows per polygon vertex (A2) and two
// horizontal-section rows per horizontal section (A3).
#include <cstdint>
#include <vector>

struct BaseCorners {
    bool valid = true;                 // false: the base does not run toward larger x
    float WHL = 0, WVL = 0, WHR = 0, WVR = 0;
};

// Components at the base corners (xL, zL, pL) and (xR, zR, pR): the base runs from the
// left corner to the right one; coinciding corners give zeros.
BaseCorners ComputeBaseCorners(float xL, float zL, float pL, float xR, float zR, float pR);

struct SectionRow {
    bool horizontal = false;   // an A3 row (key I5I, I5), else an A2 row (key OU, I4)
    int16_t K = 0;             // side code
    int16_t key2 = 0;          // OU (0 end of a segment, 1 start) or I5I (1 start, 2 end)
    int16_t index = 0;         // I4 (vertex index) or I5 (horizontal section number)
    float X = 0, Z = 0, WH = 0, WV = 0;
};

// The rows of one side's polygon (X, Z, pressures P) in the order they are written.
std::vector<SectionRow> ComputeSectionRows(int16_t K, const std::vector<float>& X,
                                           const std::vector<float>& Z, const std::vector<float>& P);
