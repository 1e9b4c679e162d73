#pragma once
// Values at the positions 0..n-1 with the greatest of every power-of-two block kept, so
// that the first or last position of a range whose value passes a threshold is found
// in logarithmic time. A position holding no number (the start) never passes one.
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

class MaxTree {
public:
    static constexpr std::size_t none = std::numeric_limits<std::size_t>::max();

    explicit MaxTree(std::size_t n);
    void set(std::size_t pos, float value);
    // The first position in [lo, hi) holding a value greater than a; none if there is none.
    std::size_t firstAbove(std::size_t lo, std::size_t hi, float a) const;
    // The last position holding a value of at least b; none if there is none.
    std::size_t lastAtLeast(float b) const;

private:
    template <class Pass>
    std::size_t find(std::size_t node, std::size_t nodeLo, std::size_t nodeHi, std::size_t lo, std::size_t hi,
                     bool fromLast, Pass pass) const;

    std::size_t size_ = 1;
    std::vector<float> max_;   // heap layout: node k has children 2k and 2k + 1
};
