#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double three_outside(const Bars<3>& b) {
    if (b[0].body() == 0.0 || !(b[0].body_size() < b[1].body_size())) return 0.0;
    return either_way(b, [](const Bars<3>& k) {
        const Bar& a = k[0];
        const Bar& p = k[1];
        return a.bearish() && p.bullish() && p.o <= a.c && p.c >= a.o && k[2].bullish() && k[2].c > p.c;
    });
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(ThreeOutside, candlestick::CandlePattern<3, candlestick::three_outside>::create())
