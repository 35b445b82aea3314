#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double dragonfly_doji(const Bars<1>& b) {
    const Bar& x = b[0];
    const double r = x.range();
    return is_doji(x) && x.upper_shadow() <= 0.1 * r && x.lower_shadow() >= 0.5 * r ? 1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(DragonflyDoji, candlestick::CandlePattern<1, candlestick::dragonfly_doji>::create())
