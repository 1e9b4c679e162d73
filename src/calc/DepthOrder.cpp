#include "DepthOrder.h"
#include <algorithm>
#include <cmath>

DepthOrder::DepthOrder(const std::vector<float>& Z, const std::vector<float>& X) : Z_(Z)
{
    order_.reserve(Z.size());
    for (std::size_t i = 0; i < Z.size(); ++i)
        if (!std::isnan(Z[i]))
            order_.push_back(i);
    std::stable_sort(order_.begin(), order_.end(), [&](std::size_t a, std::size_t b) { return Z[a] < Z[b]; });
    // Numeric equality: a sign of zero does not part two points, an x that is no number
    // differs from every other.
    nextOther_.resize(order_.size());
    for (std::size_t pos = order_.size(); pos-- > 0;) {
        const std::size_t next = pos + 1;
        const bool same = next < order_.size() && Z[order_[next]] == Z[order_[pos]]
                          && X[order_[next]] == X[order_[pos]];
        nextOther_[pos] = same ? nextOther_[next] : next;
    }
}

std::pair<std::size_t, std::size_t> DepthOrder::at(float z) const
{
    if (std::isnan(z))
        return {0, 0};
    const auto less = [&](std::size_t i, float v) { return Z_[i] < v; };
    const auto greater = [&](float v, std::size_t i) { return v < Z_[i]; };
    const auto first = std::lower_bound(order_.begin(), order_.end(), z, less);
    const auto last = std::upper_bound(first, order_.end(), z, greater);
    return {std::size_t(first - order_.begin()), std::size_t(last - order_.begin())};
}

std::vector<std::size_t> DepthOrder::between(float a, float b) const
{
    if (!(a < b))
        return {};
    const auto less = [&](std::size_t i, float v) { return Z_[i] < v; };
    const auto greater = [&](float v, std::size_t i) { return v < Z_[i]; };
    const auto first = std::upper_bound(order_.begin(), order_.end(), a, greater);
    const auto last = std::lower_bound(first, order_.end(), b, less);
    std::vector<std::size_t> indices(first, last);
    std::sort(indices.begin(), indices.end());
    return indices;
}
