#pragma once
// Small numeric helpers of the diagram class, in the single precision its geometry
// is computed in, raising the runtime's errors where the arithmetic fails.
#include "platform/VbError.h"
#include <QString>

class DialogService;

namespace DrawConst {
constexpr float PI = 3.1415927f;
constexpr float PI_2 = 1.5707964f;
constexpr float DEG = 0.017453292f;   // radians per degree
}

// Decimal logarithm; 0 for values that are not positive.
float LOG10(float V);
// The direction of the vector (X2 - X1, Y2 - Y1) as an angle in [0, 2pi).
float STRECKENWINKEL(float X1, float Y1, float X2, float Y2);
// The smaller of two values (B when equal).
float MINWERT(float A, float B);
// The ordinate at x on the line through (x1, y1) and (x2, y2); for x1 = x2 the
// message "Division durch Null!" and 0.
float LININT(DialogService& dialogs, float x1, float x2, float x, float y1, float y2);
