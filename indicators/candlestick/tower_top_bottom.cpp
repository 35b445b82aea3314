#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double tower_top_bottom(const Bars<3>& b) {
    const Bar& a = b[0];
    const Bar& p = b[1];
    const Bar& x = b[2];
    const bool small = p.range() <= 0.0 || p.body_size() <= 0.3 * p.range();
    if (!long_body(a, 0.5) || !small || !long_body(x, 0.5)) return 0.0;
    if (a.bullish() && !x.bullish()) return -1.0;
    return a.bearish() && x.bullish() ? 1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(TowerTopBottom, candlestick::CandlePattern<3, candlestick::tower_top_bottom>::create())
