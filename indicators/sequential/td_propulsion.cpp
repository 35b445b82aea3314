#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// An open at or beyond the previous close and a close beyond the previous extreme.
double td_propulsion(const candlestick::Bars<2>& b) {
    const candlestick::Bar& p = b[0];
    const candlestick::Bar& x = b[1];
    if (x.o >= p.c && x.c > p.h) return 1.0;
    return x.o <= p.c && x.c < p.l ? -1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TdPropulsion, candlestick::CandlePattern<2, td_propulsion>::create())
