#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// Open and close inside the previous body, signed by the colour (a doji counts as rising).
double td_clopwin(const candlestick::Bars<2>& b) {
    const candlestick::Bar& p = b[0];
    const candlestick::Bar& x = b[1];
    const double lo = p.bottom();
    const double hi = p.top();
    if (!(x.o >= lo && x.o <= hi && x.c >= lo && x.c <= hi)) return 0.0;
    return x.o <= x.c ? 1.0 : -1.0;
}

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TdClopwin, candlestick::CandlePattern<2, td_clopwin>::create())
