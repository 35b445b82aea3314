#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double harami_cross(const Bars<2>& b) {
    const Bar& p = b[0];
    const Bar& x = b[1];
    // A flat previous candle has no colour to reverse.
    if (!is_doji(x) || is_doji(p) || p.body() == 0.0) return 0.0;
    const bool held = x.o >= p.bottom() && x.o <= p.top() && x.c >= p.bottom() && x.c <= p.top();
    if (!held) return 0.0;
    return p.bearish() ? 1.0 : -1.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(HaramiCross, candlestick::CandlePattern<2, candlestick::harami_cross>::create())
