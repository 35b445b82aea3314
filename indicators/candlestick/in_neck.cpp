#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double in_neck(const Bars<2>& b) {
    const Bar& p = b[0];
    const Bar& x = b[1];
    return neck_setup(p, x) && x.c >= p.c && x.c <= p.c + 0.1 * (p.o - p.c) ? -1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(InNeck, candlestick::CandlePattern<2, candlestick::in_neck>::create())
