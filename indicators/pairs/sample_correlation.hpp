#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace ostrel {

// Pearson correlation of x[0, n) and y[0, n) in two passes (means, then centred sums),
// clamped to [−1, 1]. A series of identical values is recognised as such and gives 0, even
// where its computed mean is off by an ulp.
inline double sample_correlation(const double* x, const double* y, std::size_t n) {
    if (n == 0) return 0.0;
    double sum_x = 0.0, sum_y = 0.0;
    bool flat_x = true, flat_y = true;
    for (std::size_t i = 0; i < n; ++i) {
        sum_x += x[i];
        sum_y += y[i];
        flat_x = flat_x && x[i] == x[0];
        flat_y = flat_y && y[i] == y[0];
    }
    if (flat_x || flat_y) return 0.0;
    const double count = static_cast<double>(n);
    const double mean_x = sum_x / count;
    const double mean_y = sum_y / count;
    double sxy = 0.0, sxx = 0.0, syy = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double dx = x[i] - mean_x;
        const double dy = y[i] - mean_y;
        sxy += dx * dy;
        sxx += dx * dx;
        syy += dy * dy;
    }
    const double product = sxx * syy;
    if (!(product > 0.0)) return 0.0;
    return std::clamp(sxy / std::sqrt(product), -1.0, 1.0);
}

}  // namespace ostrel
