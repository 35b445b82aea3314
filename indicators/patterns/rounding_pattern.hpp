#pragma once

#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/indicator.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {

// A rounded turn over the last N closes: the extreme close (first occurrence) lies away from
// both quarter-ends of the window and the current close is back beyond the oldest one.
// `Side::beyond(a, b)` says a is further in the turn's direction than b (higher for a top);
// `Side::signal` is the value of a completed turn and `Side::too_short` the text for N < 5.
template <class Side>
class RoundingPattern {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<RoundingPattern, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 5) return std::unexpected(CoreError::invalid_period(Side::too_short));
        return RoundingPattern(static_cast<std::size_t>(period));
    }

    std::optional<double> update(const Candle& c) {
        closes_.push(c.close);
        if (!closes_.full()) return std::nullopt;
        const std::size_t n = closes_.size();
        std::size_t i = 0, at = 0;
        double extreme = closes_.oldest();
        closes_.for_each([&](double x) {
            if (Side::beyond(x, extreme)) {
                extreme = x;
                at = i;
            }
            ++i;
        });
        const std::size_t q = n / 4;
        const double first = closes_.oldest();
        const double last = closes_.newest();
        const bool turned = Side::beyond(first, last) && at >= q && at < n - q && Side::beyond(extreme, last);
        return turned ? Side::signal : 0.0;
    }

    std::size_t warmup_period() const { return closes_.capacity(); }

private:
    explicit RoundingPattern(std::size_t n) : closes_(n) {}

    RingWindow<double> closes_;
};

}  // namespace ostrel
