#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "indicators/rolling/anchored_moments.hpp"

namespace ostrel {

// Population moments of the last N (x, y) pairs with the ratios read from them. A flat series
// has exactly zero variance and covariance, so both ratios take their fallbacks rather than
// dividing residue by residue.
class PairMoments : public AnchoredPairMoments {
public:
    using AnchoredPairMoments::AnchoredPairMoments;

    // Slope of x regressed on y: cov/var_y, 0 when var_y is 0.
    double beta() const {
        const double var_y = variance_y();
        return var_y == 0.0 ? 0.0 : covariance() / var_y;
    }

    // cov/√(var_x·var_y) clamped to [−1, 1]; 0 when either variance is 0.
    double correlation() const {
        const double product = variance_x() * variance_y();
        if (product == 0.0) return 0.0;
        return std::clamp(covariance() / std::sqrt(product), -1.0, 1.0);
    }
};

}  // namespace ostrel
