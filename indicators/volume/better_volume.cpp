#include <cstdint>
#include <expected>
#include <limits>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Better volume: a class per candle from how its volume v, range r, product r·v and volume per
// range v/r stand against the N − 1 candles before it. 4 for a climax with churn, ±3 for a
// climax (up or down candle), 2 for churn alone, 1 for the lowest volume, 0 otherwise; a
// climax tops every earlier r·v, churn tops every earlier v/r of a positive range.
class BetterVolume {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<BetterVolume, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return BetterVolume(n);
    }

    std::optional<double> update(const Candle& c) {
        const double r = c.high - c.low;
        const Entry now{c.volume, r * c.volume, r > 0.0 ? c.volume / r : 0.0, r > 0.0};
        entries_.push(now);
        if (!entries_.full()) return std::nullopt;

        constexpr double inf = std::numeric_limits<double>::infinity();
        double lowest_volume = inf;
        double highest_product = -inf;
        double highest_per_range = -inf;
        // The comparisons are false for NaN, which is thereby skipped.
        for (std::size_t i = 0; i + 1 < entries_.size(); ++i) {
            const Entry& e = entries_[i];
            if (e.volume < lowest_volume) lowest_volume = e.volume;
            if (e.product > highest_product) highest_product = e.product;
            if (e.ranged && e.per_range > highest_per_range) highest_per_range = e.per_range;
        }
        const bool churn = now.ranged && highest_per_range < now.per_range;
        if (now.product > highest_product) {
            if (churn) return 4.0;
            return c.close >= c.open ? 3.0 : -3.0;
        }
        if (churn) return 2.0;
        if (now.volume < lowest_volume) return 1.0;
        return 0.0;
    }

    std::size_t warmup_period() const { return entries_.capacity(); }

private:
    struct Entry {
        double volume;
        double product;    // r·v
        double per_range;  // v/r, meaningful when ranged
        bool ranged;       // r > 0
    };

    explicit BetterVolume(std::uint64_t n) : entries_(n) {}

    RingWindow<Entry> entries_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(BetterVolume, ostrel::BetterVolume::create(p.count(0)))
