#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double spinning_top(const Bars<1>& b) {
    const Bar& x = b[0];
    const double r = x.range();
    const double s = x.body_size();
    const bool top = r > 0.0 && x.body() != 0.0 && s <= 0.3 * r && x.upper_shadow() >= 2.0 * s && x.lower_shadow() >= 2.0 * s;
    return top ? colour(x) : 0.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(SpinningTop, candlestick::CandlePattern<1, candlestick::spinning_top>::create())
