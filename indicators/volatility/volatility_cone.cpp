#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/anchored_moments.hpp"
#include "indicators/rolling/sorted_window.hpp"
#include "indicators/volatility/log_return_source.hpp"
#include "indicators/volatility/sample_variance.hpp"

namespace ostrel {
namespace {

// The current sample deviation of the last `window` log returns of the close, placed among its
// last `lookback` values: current, min, median, max and the percent of values at or below it.
class VolatilityCone {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<VolatilityCone, CoreError> create(std::uint64_t window, std::uint64_t lookback) {
        if (auto e = period_error(window, lookback)) return std::unexpected(*e);
        if (window < 2 || lookback < 2)
            return std::unexpected(CoreError::invalid_period("volatility cone window and lookback must both be >= 2"));
        return VolatilityCone(window, lookback);
    }

    std::optional<std::array<double, 5>> update(const Candle& c) {
        const std::optional<double> r = returns_.push(c.close);
        if (!r) return std::nullopt;
        returns_window_.push(*r);
        if (!returns_window_.full()) return std::nullopt;
        const double sigma = std::sqrt(sample_variance(returns_window_));
        sigmas_.push(sigma);
        if (!sigmas_.full()) return std::nullopt;
        const auto& sorted = sigmas_.sorted();
        const auto at_or_below = std::upper_bound(sorted.begin(), sorted.end(), sigma, total_less) - sorted.begin();
        const double percentile = 100.0 * static_cast<double>(at_or_below) / lookback_;
        return std::array<double, 5>{sigma, sorted.front(), sigmas_.median(), sorted.back(), percentile};
    }

    std::size_t warmup_period() const { return returns_window_.period() + sigmas_.period(); }

private:
    VolatilityCone(std::size_t window, std::size_t lookback)
        : returns_window_(window), sigmas_(lookback), lookback_(static_cast<double>(lookback)) {}

    LogReturnSource returns_;
    AnchoredMoments returns_window_;
    SortedWindow sigmas_;
    double lookback_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(VolatilityCone, ostrel::VolatilityCone::create(p.count(0), p.count(1)))
