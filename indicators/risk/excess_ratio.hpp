#pragma once

#include <cmath>
#include <optional>

#include "indicators/rolling/anchored_moments.hpp"
#include "indicators/volatility/sample_variance.hpp"

namespace ostrel {

// (mean − rf) over the sample standard deviation of the values held; none when that
// deviation is 0, a flat window included, so each member picks its own fallback.
inline std::optional<double> excess_per_deviation(const AnchoredMoments& m, double rf) {
    const double sd = std::sqrt(sample_variance(m));
    if (sd == 0.0) return std::nullopt;
    return (m.mean() - rf) / sd;
}

}  // namespace ostrel
