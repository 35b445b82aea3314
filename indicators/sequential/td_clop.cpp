#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// An open beyond both of the previous open and close, and a close back through both.
double td_clop(const candlestick::Bars<2>& b) {
    const candlestick::Bar& p = b[0];
    const candlestick::Bar& x = b[1];
    if (x.c < p.o && x.c < p.c && x.o > p.o && x.o > p.c) return -1.0;
    return x.o < p.o && x.o < p.c && x.c > p.o && x.c > p.c ? 1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TdClop, candlestick::CandlePattern<2, td_clop>::create())
