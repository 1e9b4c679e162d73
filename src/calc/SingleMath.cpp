#include "SingleMath.h"
#include <cmath>

double SegmentLength(float x1, float z1, float x2, float z2)
{
    const double dx = static_cast<double>(x2) - x1;
    const double dz = static_cast<double>(z2) - z1;
    return std::sqrt(dx * dx + dz * dz);
}

void CheckListSize(std::size_t size)
{
    if (size > 32768)
        throw VbError(VbErr::Overflow);
}

void CheckSubscript(std::ptrdiff_t i, std::size_t size)
{
    if (i < 0 || static_cast<std::size_t>(i) >= size)
        throw VbError(VbErr::Subscript);
}
