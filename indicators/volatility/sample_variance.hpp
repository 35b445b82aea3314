#pragma once

#include <algorithm>
#include <cmath>

#include "indicators/rolling/anchored_moments.hpp"

namespace ostrel {

// Sample variance (divisor n − 1) of the n ≥ 2 values a moments window holds:
// fma(n, −(s1/n)², s2)/(n − 1) floored at 0. A flat window is exactly 0, never residue.
inline double sample_variance(const AnchoredMoments& m) {
    if (m.flat()) return 0.0;
    const double n = static_cast<double>(m.size());
    const double offset = m.s1() / n;
    return std::max(0.0, std::fma(n, -(offset * offset), m.s2()) / (n - 1.0));
}

}  // namespace ostrel
