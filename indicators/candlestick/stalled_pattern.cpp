#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double stalled_pattern(const Bars<3>& b) {
    const Bar& a = b[0];
    const Bar& p = b[1];
    const Bar& x = b[2];
    const bool rising = a.bullish() && p.bullish() && x.bullish() && a.c < p.c && p.c < x.c;
    const bool stalls = x.range() > 0.0 && x.body_size() <= 0.3 * x.range() && x.o >= p.c - 0.1 * p.range();
    return rising && long_body(a, 0.5) && long_body(p, 0.5) && stalls ? -1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(StalledPattern, candlestick::CandlePattern<3, candlestick::stalled_pattern>::create())
