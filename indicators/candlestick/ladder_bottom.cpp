#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double ladder_bottom(const Bars<5>& b) {
    const Bar& x4 = b[3];
    const Bar& x = b[4];
    const bool falling = b[0].bearish() && b[1].bearish() && b[2].bearish() && b[0].o > b[1].o && b[1].o > b[2].o &&
                         b[0].c > b[1].c && b[1].c > b[2].c;
    const bool fourth = x4.bearish() && x4.h > x4.o;
    return falling && fourth && x.bullish() && x.o > x4.o && x.c > x4.h ? 1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(LadderBottom, candlestick::CandlePattern<5, candlestick::ladder_bottom>::create())
