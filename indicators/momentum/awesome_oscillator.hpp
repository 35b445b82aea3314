#pragma once

#include <algorithm>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/period.hpp"
#include "indicators/momentum/macd_core.hpp"
#include "indicators/moving_averages/sma.hpp"
#include "indicators/rolling/midpoint.hpp"

namespace ostrel {

// Awesome oscillator: SMA(fast) − SMA(slow) of the median price (high + low)/2.
class AwesomeOscillator {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<AwesomeOscillator, CoreError> create(std::uint64_t fast, std::uint64_t slow) {
        if (auto e = convergence_error("AO fast period must be strictly less than slow", fast, slow))
            return std::unexpected(*e);
        return AwesomeOscillator(fast, slow);
    }

    // 1 ≤ fast, slow ≤ MAX_PERIOD, checked by the caller; no order is needed.
    AwesomeOscillator(std::uint64_t fast, std::uint64_t slow)
        : fast_(*Sma::create(fast)), slow_(*Sma::create(slow)) {}

    std::optional<double> update(const Candle& c) {
        const double median = midpoint(c.high, c.low);
        const auto fast = fast_.update(median);
        const auto slow = slow_.update(median);
        if (!fast || !slow) return std::nullopt;
        return *fast - *slow;
    }

    std::size_t warmup_period() const { return std::max(fast_.warmup_period(), slow_.warmup_period()); }

private:
    Sma fast_;
    Sma slow_;
};

// The awesome oscillator minus its own SMA(signal).
class AwesomeOscillatorGap {
public:
    // Periods validated by the caller.
    AwesomeOscillatorGap(std::uint64_t fast, std::uint64_t slow, std::uint64_t signal)
        : ao_(fast, slow), signal_(*Sma::create(signal)) {}

    std::optional<double> update(const Candle& c) {
        const auto ao = ao_.update(c);
        if (!ao) return std::nullopt;
        const auto average = signal_.update(*ao);
        if (!average) return std::nullopt;
        return *ao - *average;
    }

    // The first input with a value.
    std::size_t first_value_at() const { return ao_.warmup_period() + signal_.warmup_period() - 1; }

private:
    AwesomeOscillator ao_;
    Sma signal_;
};

}  // namespace ostrel
