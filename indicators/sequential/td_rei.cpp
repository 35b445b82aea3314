#include <algorithm>
#include <cmath>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/ring_window.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// Range expansion index: the two-bar extension of high and low, kept only when the bar
// overlaps the range of five to eight bars earlier, against the absolute extensions.
class TdRei {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<TdRei, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return TdRei(n);
    }

    std::optional<double> update(const Candle& k) {
        if (!bars_.full()) {
            bars_.push(k);
            return std::nullopt;
        }
        const double h2 = ago(2).high;
        const double l2 = ago(2).low;
        const bool overlaps = (k.high >= ago(5).low || k.high >= ago(6).low) &&
                              (k.low <= ago(5).high || k.low <= ago(6).high);
        const bool held = (h2 >= ago(7).close || h2 >= ago(8).close) && (l2 <= ago(7).close || l2 <= ago(8).close);
        const double term = overlaps || held ? (k.high - h2) + (k.low - l2) : 0.0;
        const double abs = std::fabs(k.low - l2) + std::fabs(k.high - h2);
        // Extensions that overflow cannot be summed: the candle is skipped.
        if (!std::isfinite(term) || !std::isfinite(abs)) return std::nullopt;
        bars_.push(k);
        terms_.push(term);
        abs_.push(abs);
        if (!abs_.full()) return std::nullopt;
        if (abs_.all_zero()) return 0.0;
        const double value = 100.0 * terms_.sum() / abs_.sum();
        if (!std::isfinite(value)) return std::nullopt;
        return std::clamp(value, -100.0, 100.0);
    }

    std::size_t warmup_period() const { return lag + abs_.period(); }

private:
    static constexpr std::size_t lag = 8;

    explicit TdRei(std::uint64_t n) : bars_(lag), terms_(n), abs_(n) {}

    const Candle& ago(std::size_t k) const { return bars_[lag - k]; }

    RingWindow<Candle> bars_;
    RunningSum terms_;
    RunningSum abs_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TdRei, TdRei::create(p.count(0)))
