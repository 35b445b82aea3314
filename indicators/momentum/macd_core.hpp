#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/period.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"

namespace ostrel {

// The checks of the two-average members in their fixed order: any length 0, then
// fast ≥ slow with the member's own text, then any length above MAX_PERIOD.
template <class... N>
std::optional<CoreError> convergence_error(const char* order_text, std::uint64_t fast, std::uint64_t slow,
                                           N... others) {
    if (fast == 0 || slow == 0 || ((static_cast<std::uint64_t>(others) == 0) || ...))
        return CoreError::zero_period();
    if (fast >= slow) return CoreError::invalid_period(order_text);
    return period_error(fast, slow, others...);
}

inline constexpr const char* FAST_SLOW_MESSAGE = "fast period must be strictly less than slow period";

struct EmaPair {
    double fast;
    double slow;
};

// A fast and a slow exponential average of the same closes, reported once both have a value.
class EmaSpread {
public:
    EmaSpread(ExpSmoother fast, ExpSmoother slow) : fast_(fast), slow_(slow) {}
    EmaSpread(std::uint64_t fast, std::uint64_t slow) : fast_(fast), slow_(slow) {}

    std::optional<EmaPair> push(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        const auto f = fast_.push(x);
        const auto s = slow_.push(x);
        if (!f || !s) return std::nullopt;
        return EmaPair{*f, *s};
    }

    // Seeded at max(fast, slow) inputs.
    std::size_t warmup_period() const {
        return static_cast<std::size_t>(fast_.period() > slow_.period() ? fast_.period() : slow_.period());
    }

private:
    ExpSmoother fast_;
    ExpSmoother slow_;
};

// line, signal, histogram.
using MacdOutputs = std::array<double, 3>;

inline MacdOutputs macd_outputs(double line, double signal) { return {line, signal, line - signal}; }

// A line with its exponential signal: nothing until the signal has a value; a non-finite
// line is not taken in and gives nothing.
class SignalLine {
public:
    explicit SignalLine(std::uint64_t period) : signal_(period) {}

    std::optional<MacdOutputs> push(double line) {
        const auto s = signal_.push(line);
        if (!s) return std::nullopt;
        return macd_outputs(line, *s);
    }

    std::uint64_t period() const { return signal_.period(); }

private:
    ExpSmoother signal_;
};

// Moving-average convergence/divergence of the close: macd = EMA(fast) − EMA(slow), its
// exponential signal and the histogram between them. It is also the `MacdIndicator` member.
class MacdCore {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<MacdCore, CoreError> create(std::uint64_t fast, std::uint64_t slow, std::uint64_t signal) {
        if (auto e = convergence_error(FAST_SLOW_MESSAGE, fast, slow, signal)) return std::unexpected(*e);
        return MacdCore(ExpSmoother(fast), ExpSmoother(slow), signal);
    }

    // Smoothers and signal validated by the caller.
    MacdCore(ExpSmoother fast, ExpSmoother slow, std::uint64_t signal) : spread_(fast, slow), signal_(signal) {}

    std::optional<MacdOutputs> push(double x) {
        const auto pair = spread_.push(x);
        if (!pair) return std::nullopt;
        return signal_.push(pair->fast - pair->slow);
    }
    std::optional<MacdOutputs> update(double x) { return push(x); }

    std::size_t warmup_period() const {
        return spread_.warmup_period() + static_cast<std::size_t>(signal_.period()) - 1;
    }

private:
    EmaSpread spread_;
    SignalLine signal_;
};

}  // namespace ostrel
