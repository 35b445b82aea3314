#pragma once

#include <cmath>
#include <cstdint>
#include <optional>

#include "indicators/moving_averages/seed_average.hpp"

namespace ostrel {

// Wilder's smoothed average: the simple average of the first `period` inputs, then
// value = (x + (period − 1)·value) / period. Non-finite inputs are ignored; a constant
// input reproduces itself exactly (same reasoning as ExpSmoother).
// The period is expected to be validated by the caller (1 ≤ period ≤ MAX_PERIOD).
class WilderSmoother {
public:
    explicit WilderSmoother(std::uint64_t period)
        : period_(period),
          n_(static_cast<double>(period)),
          n_minus_1_(static_cast<double>(period) - 1.0),
          seed_(period) {}

    std::optional<double> push(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        if (seeded_) [[likely]] {
            if (x != value_) value_ = (x + n_minus_1_ * value_) / n_;
        } else if (!seed(x)) {
            return std::nullopt;
        }
        return value_;
    }

    std::uint64_t period() const { return period_; }
    bool seeded() const { return seeded_; }
    // Meaningful once seeded.
    double value() const { return value_; }

private:
    // Kept out of line so that the per-step path stays small enough to inline; true once seeded.
    [[gnu::noinline]] bool seed(double x) {
        const auto average = seed_.push(x);
        if (!average) return false;
        value_ = *average;
        seeded_ = true;
        return true;
    }

    std::uint64_t period_;
    double n_;
    double n_minus_1_;
    double value_ = 0.0;
    bool seeded_ = false;
    SeedAverage seed_;
};

}  // namespace ostrel
