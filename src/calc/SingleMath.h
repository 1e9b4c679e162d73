#pragma once
// Single-precision arithmetic of the calculation: intermediate results in double,
// rounded to Single where a value is stored, with the runtime's errors for a
// failed operation (overflow 6, subscript 9). Quotients are the runtime's checked
// ones (CheckedDiv, SngDiv).
#include "platform/VbError.h"
#include <QString>
#include <cstddef>
#include <vector>

// Length of the segment between two points, in double from the Single coordinates.
double SegmentLength(float x1, float z1, float x2, float z2);
// Lists of the calculation are indexed by 16-bit Integers: more than 32768 elements
// is error 6.
void CheckListSize(std::size_t size);
// An element i of a list of the given size; outside it is error 9.
void CheckSubscript(std::ptrdiff_t i, std::size_t size);
// Element i of a list, checked as above.
inline float Element(const std::vector<float>& list, std::ptrdiff_t i)
{
    CheckSubscript(i, list.size());
    return list[std::size_t(i)];
}
// The last element of a list; an empty list is error 9.
inline float Last(const std::vector<float>& list)
{
    return Element(list, std::ptrdiff_t(list.size()) - 1);
}

// A runtime error raised inside one of the calculation's routines that carry their
// own error box: the routine's label goes with it.
class RoutineError : public VbError {
public:
    RoutineError(const VbError& e, QString routine)
        : VbError(e), routine_(std::move(routine)) {}
    const QString& routine() const { return routine_; }

private:
    QString routine_;
};
