#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>
#include <utility>

#include "indicators/bands/stops/reversing_stop.hpp"
#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/anchored_moments.hpp"
#include "indicators/rolling/extremes.hpp"

namespace ostrel {
namespace {

// A stop hung from the trend's extreme at the mean plus k sample deviations of the recent
// two-bar ranges, tightening only and flipping when the close crosses it.
class KaseDevStop {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<KaseDevStop, CoreError> create(std::uint64_t n, double k) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        if (n < 2) return std::unexpected(CoreError::invalid_period("Kase DevStop period must be >= 2"));
        if (auto e = multiplier_error(k)) return std::unexpected(*e);
        return KaseDevStop(n, k);
    }

    // value, direction.
    std::optional<std::array<double, 2>> update(const Candle& c) {
        const auto prev = std::exchange(prev_, HighLow{c.high, c.low});
        if (!prev) return std::nullopt;
        ranges_.push(std::max(c.high, prev->high) - std::min(c.low, prev->low));
        if (!ranges_.full()) return std::nullopt;
        const double w = ranges_.mean() + k_ * std::sqrt(ranges_.variance() * bessel_);
        if (!stop_.started()) {
            extreme_ = c.high;
            stop_.start(true, c.high - w);
        } else if (stop_.is_long()) {
            extreme_ = std::max(extreme_, c.high);
            if (stop_.trail_then_test(c.close, extreme_ - w, c.low + w)) extreme_ = c.low;
        } else {
            extreme_ = std::min(extreme_, c.low);
            if (stop_.trail_then_test(c.close, c.high - w, extreme_ + w)) extreme_ = c.high;
        }
        return stop_.outputs();
    }

    // N ranges need N + 1 candles; N ≤ MAX_PERIOD.
    std::size_t warmup_period() const { return ranges_.period() + 1; }

private:
    KaseDevStop(std::uint64_t n, double k)
        : ranges_(n), k_(k), bessel_(static_cast<double>(n) / (static_cast<double>(n) - 1.0)) {}

    AnchoredMoments ranges_;
    double k_;
    double bessel_;  // N / (N − 1): population to sample variance
    std::optional<HighLow> prev_;
    double extreme_ = 0.0;
    ReversingStop stop_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(KaseDevStop, ostrel::KaseDevStop::create(p.count(0), p.real(1)))
