#pragma once

#include <cmath>
#include <cstddef>
#include <optional>

#include "indicators/rolling/running_sum.hpp"

namespace ostrel {

// The squared shortfalls below a target of the last N returns, for downside deviations.
class ShortfallWindow {
public:
    // 1 ≤ period ≤ MAX_PERIOD, checked by the caller.
    ShortfallWindow(std::size_t period, double target) : squares_(period), target_(target) {}

    // The excess r − target of an accepted return. A return that is not finite, or whose
    // excess or squared shortfall overflows, is refused without any change.
    std::optional<double> push(double r) {
        if (!std::isfinite(r)) return std::nullopt;
        const double e = r - target_;
        const double square = e < 0.0 ? e * e : 0.0;
        if (!std::isfinite(e) || !std::isfinite(square)) return std::nullopt;
        squares_.push(square);
        return e;
    }

    bool full() const { return squares_.full(); }
    std::size_t period() const { return squares_.period(); }
    double target() const { return target_; }
    // Σ shortfall² over all N returns, divided by N; exactly 0 without a shortfall.
    double downside_variance() const { return squares_.mean(); }

private:
    RunningSum squares_;
    double target_;
};

}  // namespace ostrel
