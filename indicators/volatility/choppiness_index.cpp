#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>
#include <utility>

#include "indicators/bands/true_range.hpp"
#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/extremes.hpp"
#include "indicators/rolling/ring_window.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// 100·log10(Σ true range / (highest high − lowest low))/log10 N over the last N candles.
class ChoppinessIndex {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<ChoppinessIndex, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 2) return std::unexpected(CoreError::invalid_period("choppiness index needs period >= 2"));
        return ChoppinessIndex(period);
    }

    std::optional<double> update(const Candle& c) {
        const double tr = true_range_.push(c.high, c.low, c.close);
        if (!std::isfinite(tr)) return std::nullopt;
        ranges_.push(tr);
        extremes_.push({c.high, c.low});
        if (!ranges_.full()) return std::nullopt;
        const double span = window_max(extremes_, [](const auto& v) { return v.first; }) -
                            window_min(extremes_, [](const auto& v) { return v.second; });
        // A window without any range has no ratio to take the logarithm of.
        if (!(span > 0.0)) return std::nullopt;
        return 100.0 * std::log10(ranges_.sum() / span) / log10_n_;
    }

    std::size_t warmup_period() const { return ranges_.period(); }

private:
    explicit ChoppinessIndex(std::size_t period)
        : ranges_(period), extremes_(period), log10_n_(std::log10(static_cast<double>(period))) {}

    TrueRange true_range_;
    RunningSum ranges_;
    RingWindow<std::pair<double, double>> extremes_;  // (high, low)
    double log10_n_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(ChoppinessIndex, ostrel::ChoppinessIndex::create(p.count(0)))
