#include <cmath>
#include <expected>

#include "indicators/core/catalogue.hpp"
#include "indicators/volume/cumulative_line.hpp"

namespace ostrel {
namespace {

// Trade volume index: the direction turns up on a close change above min_tick and down on one
// below −min_tick, holding otherwise (0 before the first such move); each candle after the
// first adds its volume signed by it.
struct TradeVolumeStep {
    static constexpr double START = 0.0;
    static constexpr bool FROM_FIRST = false;

    double min_tick = 0.0;
    double direction = 0.0;

    double turned(const Candle& c, const Candle& prev) const {
        const double change = c.close - prev.close;
        if (change > min_tick) return 1.0;
        if (change < -min_tick) return -1.0;
        return direction;
    }
    double next(double total, const Candle& c, const Candle& prev) const { return total + c.volume * turned(c, prev); }
    void accept(const Candle& c, const Candle& prev) { direction = turned(c, prev); }
};

using TradeVolumeIndex = CumulativeLine<TradeVolumeStep>;

std::expected<TradeVolumeIndex, CoreError> create_trade_volume_index(double min_tick) {
    if (!std::isfinite(min_tick) || !(min_tick >= 0.0))
        return std::unexpected(
            CoreError::invalid_parameter("trade volume index min_tick must be finite and non-negative"));
    return TradeVolumeIndex(TradeVolumeStep{min_tick});
}

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TradeVolumeIndex, ostrel::create_trade_volume_index(p.real(0)))
