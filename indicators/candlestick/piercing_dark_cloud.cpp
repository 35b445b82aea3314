#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double piercing_dark_cloud(const Bars<2>& b) {
    return either_way(b, [](const Bars<2>& k) {
        const Bar& p = k[0];
        const Bar& x = k[1];
        return p.bearish() && x.bullish() && x.o < p.l && x.c < p.o && x.c > midpoint(p.o, p.c);
    });
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(PiercingDarkCloud, candlestick::CandlePattern<2, candlestick::piercing_dark_cloud>::create())
