#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

// A long-legged doji whose body sits in the middle fifth of the range.
double rickshaw_man(const Bars<1>& b) {
    const Bar& x = b[0];
    const double r = x.range();
    if (!(is_doji(x) && x.upper_shadow() >= 0.3 * r && x.lower_shadow() >= 0.3 * r)) return 0.0;
    const double centre = (midpoint(x.o, x.c) - x.l) / r;
    return centre >= 0.4 && centre <= 0.6 ? 1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(RickshawMan, candlestick::CandlePattern<1, candlestick::rickshaw_man>::create())
