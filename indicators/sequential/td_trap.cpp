#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// A close breaking out of an inside bar.
double td_trap(const candlestick::Bars<3>& b) {
    const candlestick::Bar& a = b[0];
    const candlestick::Bar& p = b[1];
    const candlestick::Bar& x = b[2];
    if (!(a.h > p.h && a.l < p.l)) return 0.0;
    if (x.c > p.h) return 1.0;
    return x.c < p.l ? -1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TdTrap, candlestick::CandlePattern<3, td_trap>::create())
