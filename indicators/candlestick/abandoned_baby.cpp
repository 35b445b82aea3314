#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double abandoned_baby(const Bars<3>& b) {
    // The middle candle is a doji by price level, not by range.
    if (!near(b[1].c, b[1].o, 0.001)) return 0.0;
    return either_way(b, [](const Bars<3>& k) {
        return k[0].bearish() && k[0].l > k[1].h && k[2].bullish() && k[2].l > k[1].h;
    });
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(AbandonedBaby, candlestick::CandlePattern<3, candlestick::abandoned_baby>::create())
