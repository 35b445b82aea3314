#include <algorithm>
#include <cmath>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// Upper shadow minus lower shadow, over the range.
class WickRatio {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<WickRatio, CoreError> create() { return WickRatio(); }

    std::optional<double> update(const Candle& c) {
        const double range = c.high - c.low;
        if (range == 0.0) return 0.0;
        if (std::isfinite(range)) [[likely]] return ratio(c.open, c.high, c.low, c.close, range);
        // Every term is bounded by the range, so halving all prices only removes the overflow.
        return ratio(c.open * 0.5, c.high * 0.5, c.low * 0.5, c.close * 0.5, c.high * 0.5 - c.low * 0.5);
    }

    std::size_t warmup_period() const { return 1; }

private:
    static double ratio(double o, double h, double l, double c, double range) {
        return ((h - std::max(o, c)) - (std::min(o, c) - l)) / range;
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(WickRatio, WickRatio::create())
