#pragma once

#include <cmath>
#include <cstddef>
#include <optional>

#include "indicators/pairs/pair_moments.hpp"

namespace ostrel {

// Least-squares regression of the spread s = x − y (or of its change s_t − s_{t−1}) on the
// spread one step before, over the N − 1 consecutive pairs of the last N spreads. The first
// spread only primes the lag; a pair whose spread or change overflows is skipped.
class SpreadLagRegression {
public:
    enum class Target { Level, Change };

    // 2 ≤ period − 1, checked by the caller.
    SpreadLagRegression(std::size_t period, Target target) : moments_(period - 1), target_(target) {}

    // False when the pair was skipped.
    bool push(double x, double y) {
        const double s = x - y;
        if (!std::isfinite(s)) return false;
        if (!previous_) {
            previous_ = s;
            return true;
        }
        const double t = target_ == Target::Change ? s - *previous_ : s;
        if (!moments_.push(t, *previous_)) return false;
        previous_ = s;
        return true;
    }

    // The last N spreads are in.
    bool full() const { return moments_.full(); }
    std::size_t period() const { return moments_.period() + 1; }
    // Population variance of the lagged spreads; the slope is 0 where it is 0.
    double lag_variance() const { return moments_.variance_y(); }
    double slope() const { return moments_.beta(); }

private:
    PairMoments moments_;
    std::optional<double> previous_;
    Target target_;
};

}  // namespace ostrel
