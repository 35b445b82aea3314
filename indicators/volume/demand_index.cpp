#include <algorithm>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// Demand index: buying against selling pressure. Over N candles' average volume and average
// two-bar range, the candle's volume ratio is split by the move of its weighted price
// (2·close + high + low)/4 against the previous candle's: the side of the move keeps the whole
// ratio, the other side a share falling exponentially with the move's size. Each pressure is
// averaged (alpha 2/(N + 1), seeded by its first value) and the value compares the two.
class DemandIndex {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<DemandIndex, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return DemandIndex(n);
    }

    std::optional<double> update(const Candle& c) {
        if (!prev_) {
            volumes_.push(c.volume);
            prev_ = c;
            return std::nullopt;
        }
        const Candle prev = *prev_;
        const double range = std::max(c.high, prev.high) - std::min(c.low, prev.low);
        // A range beyond the largest doubles drops the candle whole.
        if (!std::isfinite(range)) return std::nullopt;
        volumes_.push(c.volume);
        ranges_.push(range);
        prev_ = c;
        if (!ranges_.full()) return std::nullopt;

        // The previous candle's price is read from the candle before this one, not from the
        // one just stored (that would make every move 0).
        const double p = weighted_price(c);
        const double p_prev = weighted_price(prev);
        // Both windows know when they hold only zeros, so no residue passes for an average.
        const double avg_range = ranges_.mean();
        const double avg_volume = volumes_.mean();
        if (p == 0.0 || p_prev == 0.0 || avg_range == 0.0 || avg_volume == 0.0) return last_;

        const double dp = (p - p_prev) / std::min(p, p_prev);
        const double vr = c.volume / avg_volume;
        const double k = std::exp(std::min(std::fabs(dp) * 3.0 * p / avg_range, 88.0));
        const double bp = dp > 0.0 ? vr : vr / k;
        const double sp = dp > 0.0 ? vr / k : vr;
        // The averages take only finite pressures; a skipped one keeps its average as it was.
        buying_.push(bp);
        selling_.push(sp);
        if (!buying_.seeded() || !selling_.seeded()) return last_;
        const double b = buying_.value();
        const double s = selling_.value();
        last_ = b > s ? (1.0 - s / b) * 100.0 : b < s ? (1.0 - b / s) * -100.0 : 0.0;
        return last_;
    }

    std::size_t warmup_period() const { return ranges_.period() + 1; }

private:
    explicit DemandIndex(std::uint64_t n)
        : volumes_(n),
          ranges_(n),
          buying_(1, 2.0 / (static_cast<double>(n) + 1.0)),
          selling_(1, 2.0 / (static_cast<double>(n) + 1.0)) {}

    static double weighted_price(const Candle& c) { return (2.0 * c.close + c.high + c.low) / 4.0; }

    RunningSum volumes_;
    RunningSum ranges_;
    ExpSmoother buying_;
    ExpSmoother selling_;
    std::optional<Candle> prev_;
    double last_ = 0.0;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(DemandIndex, ostrel::DemandIndex::create(p.count(0)))
