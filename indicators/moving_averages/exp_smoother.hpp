#pragma once

#include <cmath>
#include <cstdint>
#include <optional>

#include "indicators/moving_averages/seed_average.hpp"

namespace ostrel {

// Exponential average seeded with the simple average of its first `period` inputs.
// Non-finite inputs are ignored without any change of state, so a cascade stage never
// takes in a poisoned value. A constant input reproduces itself exactly: the seed of
// equal inputs is that input, and an input equal to the value leaves it untouched
// (the seed division and the fused step would otherwise drift by an ulp).
// The period is expected to be validated by the caller (1 ≤ period ≤ MAX_PERIOD).
class ExpSmoother {
public:
    explicit ExpSmoother(std::uint64_t period)
        : ExpSmoother(period, 2.0 / (static_cast<double>(period) + 1.0)) {}

    // For families whose smoothing constant is not 2/(period + 1); the seed still
    // averages the first `period` inputs.
    ExpSmoother(std::uint64_t period, double alpha)
        : period_(period), alpha_(alpha), one_minus_alpha_(1.0 - alpha), seed_(period) {}

    std::optional<double> push(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        if (seeded_) [[likely]] {
            if (x != value_) value_ = std::fma(alpha_, x, one_minus_alpha_ * value_);
        } else if (!seed(x)) {
            return std::nullopt;
        }
        return value_;
    }

    std::uint64_t period() const { return period_; }
    double alpha() const { return alpha_; }
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
    double alpha_;
    double one_minus_alpha_;
    double value_ = 0.0;
    bool seeded_ = false;
    SeedAverage seed_;
};

}  // namespace ostrel
