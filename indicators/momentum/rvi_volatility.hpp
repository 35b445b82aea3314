#pragma once

#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/period.hpp"
#include "indicators/moving_averages/wilder_smoother.hpp"
#include "indicators/rolling/anchored_moments.hpp"

namespace ostrel {

// Relative volatility index: an RSI whose gains and losses are the N-close standard
// deviation, counted as up on a rising close and as down on a falling one, Wilder-smoothed
// over N. Nothing is returned while both averages are 0 (no movement to divide).
class RviVolatility {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<RviVolatility, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        if (n < 2) return std::unexpected(CoreError::invalid_period("RVI period must be >= 2"));
        return RviVolatility(n);
    }

    // 2 ≤ period ≤ MAX_PERIOD, checked by the caller.
    explicit RviVolatility(std::uint64_t n) : closes_(n), up_(n), down_(n) {}

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        const bool rising = has_prev_ && x > prev_;
        const bool falling = has_prev_ && x < prev_;
        prev_ = x;
        has_prev_ = true;
        closes_.push(x);
        if (!closes_.full()) return std::nullopt;
        const double sigma = closes_.stddev();
        const auto up = up_.push(rising ? sigma : 0.0);
        const auto down = down_.push(falling ? sigma : 0.0);
        if (!up || !down) return std::nullopt;
        const double s = *up + *down;
        if (s == 0.0) return std::nullopt;
        return 100.0 * *up / s;
    }

    std::size_t warmup_period() const { return 2 * closes_.period() - 1; }

private:
    AnchoredMoments closes_;
    WilderSmoother up_;
    WilderSmoother down_;
    double prev_ = 0.0;
    bool has_prev_ = false;
};

}  // namespace ostrel
