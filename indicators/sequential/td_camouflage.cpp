#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// A close against the previous close but in the opposite colour, with a new extreme.
double td_camouflage(const candlestick::Bars<2>& b) {
    const candlestick::Bar& p = b[0];
    const candlestick::Bar& x = b[1];
    if (x.c < p.c && x.c > x.o && x.l < p.l) return 1.0;
    return x.c > p.c && x.c < x.o && x.h > p.h ? -1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TdCamouflage, candlestick::CandlePattern<2, td_camouflage>::create())
