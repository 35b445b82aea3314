#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double breakaway(const Bars<5>& b) {
    return either_way(b, [](const Bars<5>& k) {
        const Bar& x1 = k[0];
        const Bar& x2 = k[1];
        const Bar& x3 = k[2];
        const Bar& x4 = k[3];
        const Bar& x = k[4];
        return x1.bearish() && x2.bearish() && x2.o < x1.c && x3.h < x2.h && x3.l < x2.l && x4.bearish() &&
               x4.h < x3.h && x4.l < x3.l && x.bullish() && x2.o < x.c && x.c < x1.c;
    });
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(Breakaway, candlestick::CandlePattern<5, candlestick::breakaway>::create())
