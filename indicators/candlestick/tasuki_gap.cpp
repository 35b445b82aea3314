#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double tasuki_gap(const Bars<3>& b) {
    return either_way(b, [](const Bars<3>& k) {
        const Bar& a = k[0];
        const Bar& p = k[1];
        const Bar& x = k[2];
        return a.bullish() && p.bullish() && p.o > a.c && x.bearish() && p.o < x.o && x.o < p.c && a.c < x.c && x.c < p.o;
    });
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(TasukiGap, candlestick::CandlePattern<3, candlestick::tasuki_gap>::create())
