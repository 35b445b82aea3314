#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

// Matching lows first (+1), else matching highs (-1); colours are not read.
double tweezer(const Bars<2>& b) {
    return either_way(b, [](const Bars<2>& k) { return near(k[1].l, k[0].l, 0.001); });
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(Tweezer, candlestick::CandlePattern<2, candlestick::tweezer>::create())
