#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/period.hpp"
#include "indicators/rolling/extremes.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {

// Where in the last N + 1 candles the highest high and the lowest low stand (0 = oldest,
// N = newest, ties to the most recent), as percentages of N.
class Aroon {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<Aroon, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        // The window holds N + 1 candles.
        if (period >= MAX_PERIOD) return std::unexpected(CoreError::invalid_period(MAX_PERIOD_MESSAGE));
        return Aroon(period);
    }

    // up, down.
    std::optional<std::array<double, 2>> update(const Candle& c) {
        window_.push({c.high, c.low});
        if (!window_.full()) return std::nullopt;
        double high = window_[0].high;
        double low = window_[0].low;
        double at = 0.0;
        double high_at = 0.0;
        double low_at = 0.0;
        window_.for_each([&](const HighLow& v) {
            if (v.high >= high) {
                high = v.high;
                high_at = at;
            }
            if (v.low <= low) {
                low = v.low;
                low_at = at;
            }
            at += 1.0;
        });
        return std::array<double, 2>{100.0 * high_at / n_, 100.0 * low_at / n_};
    }

    std::size_t warmup_period() const { return window_.capacity(); }

private:
    explicit Aroon(std::uint64_t period)
        : window_(static_cast<std::size_t>(period + 1)), n_(static_cast<double>(period)) {}

    RingWindow<HighLow> window_;
    double n_;
};

}  // namespace ostrel
