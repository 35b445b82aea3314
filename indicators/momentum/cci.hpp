#pragma once

#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/period.hpp"
#include "indicators/momentum/mean_deviation_window.hpp"

namespace ostrel {

// Commodity channel index: the typical price's distance from its N-candle mean in units of
// 0.015 mean absolute deviations; 0 when the window does not deviate.
class Cci {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<Cci, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return Cci(period);
    }

    // 1 ≤ period ≤ MAX_PERIOD, checked by the caller.
    explicit Cci(std::uint64_t period) : window_(period) {}

    std::optional<double> update(const Candle& c) {
        const double tp = (c.high + c.low + c.close) / 3.0;
        if (!window_.push(tp) || !window_.full()) return std::nullopt;
        const double md = window_.mean_deviation();
        if (md == 0.0) return 0.0;
        return (tp - window_.mean()) / (md * 0.015);
    }

    std::size_t warmup_period() const { return window_.period(); }

private:
    MeanDeviationWindow window_;
};

}  // namespace ostrel
