#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// An open beyond the previous range that trades back into it.
double td_open(const candlestick::Bars<2>& b) {
    const candlestick::Bar& p = b[0];
    const candlestick::Bar& x = b[1];
    if (x.o < p.l && x.h > p.l) return 1.0;
    return x.o > p.h && x.l < p.h ? -1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TdOpen, candlestick::CandlePattern<2, td_open>::create())
