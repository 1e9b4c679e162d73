#include "MaxTree.h"

MaxTree::MaxTree(std::size_t n)
{
    while (size_ < n)
        size_ *= 2;
    max_.assign(2 * size_, std::numeric_limits<float>::quiet_NaN());
}

void MaxTree::set(std::size_t pos, float value)
{
    std::size_t k = size_ + pos;
    max_[k] = value;
    // fmax passes over a value that is no number.
    for (k /= 2; k > 0; k /= 2)
        max_[k] = std::fmax(max_[2 * k], max_[2 * k + 1]);
}

template <class Pass>
std::size_t MaxTree::find(std::size_t node, std::size_t nodeLo, std::size_t nodeHi, std::size_t lo,
                          std::size_t hi, bool fromLast, Pass pass) const
{
    if (nodeHi <= lo || hi <= nodeLo || !pass(max_[node]))
        return none;
    if (nodeHi - nodeLo == 1)
        return nodeLo;
    const std::size_t mid = (nodeLo + nodeHi) / 2;
    const std::size_t first = fromLast ? find(2 * node + 1, mid, nodeHi, lo, hi, fromLast, pass)
                                       : find(2 * node, nodeLo, mid, lo, hi, fromLast, pass);
    if (first != none)
        return first;
    return fromLast ? find(2 * node, nodeLo, mid, lo, hi, fromLast, pass)
                    : find(2 * node + 1, mid, nodeHi, lo, hi, fromLast, pass);
}

std::size_t MaxTree::firstAbove(std::size_t lo, std::size_t hi, float a) const
{
    return find(1, 0, size_, lo, hi, false, [a](float v) { return v > a; });
}

std::size_t MaxTree::lastAtLeast(float b) const
{
    return find(1, 0, size_, 0, size_, true, [b](float v) { return v >= b; });
}
