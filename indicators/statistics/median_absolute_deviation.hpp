#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

#include "indicators/rolling/midpoint.hpp"
#include "indicators/rolling/sorted_window.hpp"

namespace ostrel {

// Median of |x − M| over a non-empty window, M its median; no consistency factor. The
// deviations below M and those above it each run in order through the sorted array, away
// from M, so the middle ranks of their union are found by bisection instead of sorting a copy.
inline double median_absolute_deviation(const SortedWindow& window) {
    const std::vector<double>& s = window.sorted();
    const std::size_t n = s.size();
    const double m = window.median();
    const std::size_t split = static_cast<std::size_t>(std::lower_bound(s.begin(), s.end(), m) - s.begin());
    // below(i): the i-th nearest deviation under M; above(j): the j-th nearest from M upwards.
    const std::size_t a = split;
    const std::size_t b = n - split;
    auto below = [&](std::size_t i) { return std::fabs(s[split - 1 - i] - m); };
    auto above = [&](std::size_t j) { return std::fabs(s[split + j] - m); };

    // The lower middle rank k = (n − 1)/2 closes the `count` smallest deviations; take i of
    // them from below and count − i from above, i the first that needs no further value below.
    const std::size_t count = (n - 1) / 2 + 1;
    std::size_t lo = count > b ? count - b : 0;
    std::size_t hi = std::min(count, a);
    while (lo < hi) {
        const std::size_t i = lo + (hi - lo) / 2;
        if (below(i) < above(count - i - 1)) lo = i + 1;
        else hi = i;
    }
    const std::size_t i = lo;
    const std::size_t j = count - i;
    constexpr double inf = std::numeric_limits<double>::infinity();
    const double lower = std::max(i > 0 ? below(i - 1) : -inf, j > 0 ? above(j - 1) : -inf);
    if (n % 2 == 1) return lower;
    const double upper = std::min(i < a ? below(i) : inf, j < b ? above(j) : inf);
    return midpoint(lower, upper);
}

}  // namespace ostrel
