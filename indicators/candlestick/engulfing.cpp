#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double engulfing(const Bars<2>& b) {
    const Bar& p = b[0];
    const Bar& x = b[1];
    if (p.body() == 0.0 || p.body_size() >= x.body_size()) return 0.0;
    return either_way(b, [](const Bars<2>& k) {
        return k[0].bearish() && k[1].bullish() && k[1].c >= k[0].o && k[1].o <= k[0].c;
    });
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(Engulfing, candlestick::CandlePattern<2, candlestick::engulfing>::create())
