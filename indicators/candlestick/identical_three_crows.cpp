#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

// Three falling bearish candles, each opening at the close before it.
double identical_three_crows(const Bars<3>& b) {
    const Bar& a = b[0];
    const Bar& p = b[1];
    const Bar& x = b[2];
    const bool crows = a.bearish() && p.bearish() && x.bearish() && a.c > p.c && p.c > x.c;
    return crows && near(p.o, a.c, 0.001) && near(x.o, p.c, 0.001) ? -1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(IdenticalThreeCrows, candlestick::CandlePattern<3, candlestick::identical_three_crows>::create())
