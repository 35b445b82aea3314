#include <algorithm>
#include <array>
#include <cstdint>
#include <expected>
#include <optional>
#include <utility>

#include "indicators/bands/stops/reversing_stop.hpp"
#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/extremes.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// The last N penetrations with their sum and the count of positive ones, whose mean is the
// average penetration on the candles that had one.
class PenetrationWindow {
public:
    explicit PenetrationWindow(std::size_t n) : sum_(n) {}

    void push(double v) {
        const bool evicts_positive = sum_.full() && sum_.window().oldest() > 0.0;
        if (!sum_.push(v)) return;
        if (evicts_positive) --positive_;
        if (v > 0.0) ++positive_;
    }

    bool full() const { return sum_.full(); }
    double average() const { return positive_ == 0 ? 0.0 : sum_.sum() / static_cast<double>(positive_); }

private:
    RunningSum sum_;
    std::size_t positive_ = 0;
};

// A stop k average downside penetrations below the low while long and k average upside
// penetrations above the high while short, tightening only, flipping when the close crosses it.
class ElderSafeZone {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<ElderSafeZone, CoreError> create(std::uint64_t n, double k) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        if (auto e = multiplier_error(k)) return std::unexpected(*e);
        return ElderSafeZone(n, k);
    }

    // value, direction.
    std::optional<std::array<double, 2>> update(const Candle& c) {
        const auto prev = std::exchange(prev_, HighLow{c.high, c.low});
        if (!prev) return std::nullopt;
        down_.push(std::max(prev->low - c.low, 0.0));
        up_.push(std::max(c.high - prev->high, 0.0));
        if (!down_.full()) return std::nullopt;
        const double below = c.low - k_ * down_.average();
        const double above = c.high + k_ * up_.average();
        if (!stop_.started()) stop_.start(true, below);
        else stop_.trail_then_test(c.close, below, above);
        return stop_.outputs();
    }

    // N penetrations need N + 1 candles; N ≤ MAX_PERIOD.
    std::size_t warmup_period() const { return period_ + 1; }

private:
    ElderSafeZone(std::uint64_t n, double k) : period_(n), k_(k), down_(n), up_(n) {}

    std::size_t period_;
    double k_;
    PenetrationWindow down_;
    PenetrationWindow up_;
    std::optional<HighLow> prev_;
    ReversingStop stop_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(ElderSafeZone, ostrel::ElderSafeZone::create(p.count(0), p.real(1)))
