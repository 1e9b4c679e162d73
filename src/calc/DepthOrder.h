#pragma once
// The points of a list (depths Z, abscissae X) ordered by depth, so that the points at
// one depth or strictly between two depths are found without trying every point. Ties
// keep the list's order; a depth that is no number is at no depth and between none.
#include <cstddef>
#include <utility>
#include <vector>

class DepthOrder {
public:
    // The depths are kept by reference and must outlive the order.
    DepthOrder(const std::vector<float>& Z, const std::vector<float>& X);

    // Positions [first, last) of the points at depth z, in list order.
    std::pair<std::size_t, std::size_t> at(float z) const;
    // List indices of the points strictly between depths a and b, in list order.
    std::vector<std::size_t> between(float a, float b) const;
    // The list index of the point at a position.
    std::size_t index(std::size_t pos) const { return order_[pos]; }
    // The next position whose point lies at another depth or another x.
    std::size_t nextOther(std::size_t pos) const { return nextOther_[pos]; }

private:
    const std::vector<float>& Z_;
    std::vector<std::size_t> order_;
    std::vector<std::size_t> nextOther_;
};

// Visits the points of the order at depth a and strictly between a and b, in list
// order: the points that a step of the polygon passes can act on, a step that snaps the
// last point's x to a point at its depth and appends points between a and b, or points at
// depth a of an x other than one it appended nothing for. visit(i) returns whether it
// appended. After a point at depth a that appended nothing, the following points at depth
// a with its x are passed over: they would change nothing, however many there are.
template <class Visit>
void ForEachAtOrBetween(const DepthOrder& order, float a, float b, Visit visit)
{
    const std::vector<std::size_t> inner = order.between(a, b);
    auto [pos, last] = order.at(a);
    std::size_t n = 0;
    while (pos < last || n < inner.size()) {
        if (pos < last && (n == inner.size() || order.index(pos) < inner[n]))
            pos = visit(order.index(pos)) ? pos + 1 : order.nextOther(pos);
        else
            visit(inner[n++]);
    }
}
