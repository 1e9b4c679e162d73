#pragma once
// Geometry shared by the calculation and both pages: the direction angle of a
// segment, the class of a segment with its pressure components, and the x at which
// a depth meets a polyline (the structure outline). One implementation, so that the
// pages draw exactly what the calculation computed.
#include <bit>
#include <cstdint>
#include <vector>

// Angle constants as the program holds them: Singles derived from PI = 3.1415925.
namespace Angle {
inline constexpr float PI = std::bit_cast<float>(0x40490FDAu);        // 3.1415925
inline constexpr float PI_2 = std::bit_cast<float>(0x3FC90FDAu);      // 1.5707963
inline constexpr float PI3_2 = std::bit_cast<float>(0x4096CBE4u);     // 4.712389
inline constexpr float PI2 = std::bit_cast<float>(0x40C90FDAu);       // 6.283185
inline constexpr float PI_4 = std::bit_cast<float>(0x3F490FDAu);      // 0.78539813
inline constexpr float PI3_4 = std::bit_cast<float>(0x4016CBE4u);     // 2.3561945
inline constexpr float PI5_4 = std::bit_cast<float>(0x407B53D0u);     // 3.9269905
inline constexpr float PI7_4 = std::bit_cast<float>(0x40AFEDDFu);     // 5.497787
}

// Direction of travel from (Z1, X1) to (Z2, X2) in radians: 0 straight down (+z),
// PI/2 toward smaller x, PI up, 3PI/2 toward larger x; 0 for two equal points.
// A direction just short of a full turn comes out as 2PI itself.
float RICHTUNGSWINKEL(float Z1, float X1, float Z2, float X2);

// The x at depth z on the segment (x0, z0)-(x1, z1), rounded to Single once; a
// horizontal segment (z0 = z1) is error 11.
float XAtDepth(float x0, float z0, float x1, float z1, float z);

// The x of the polyline (depths R, abscissae S) at each depth of P, into Q (resized
// to P). The last segment with R(j) <= P(i) < R(j+1) decides; 0 where none does.
void INTERPOLIEREN(const std::vector<float>& P, std::vector<float>& Q,
                   const std::vector<float>& R, const std::vector<float>& S);

// Side codes of the per-side tables.
inline constexpr int16_t LeftSide = 1;
inline constexpr int16_t RightSide = 2;

// A segment of a pressure polygon: its class ("V" within PI/4 of the vertical, bounds
// included, else "H") and the horizontal and vertical pressure components at its
// start (pressure p1) and at its end (p2). On the right side every component is the
// negative of the left side's: the pressure points away from the structure.
struct SegmentComponents {
    bool horizontal = false;
    float WH1 = 0, WV1 = 0, WH2 = 0, WV2 = 0;
};
SegmentComponents SectorComponents(float a, float p1, float p2, int16_t side);
