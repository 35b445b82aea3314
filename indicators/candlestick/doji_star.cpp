#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double doji_star(const Bars<2>& b) {
    if (!long_body(b[0], 0.5) || !is_doji(b[1])) return 0.0;
    return either_way(b, [](const Bars<2>& k) { return k[0].bearish() && k[0].c > k[1].top(); });
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(DojiStar, candlestick::CandlePattern<2, candlestick::doji_star>::create())
