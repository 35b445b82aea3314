#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double thrusting(const Bars<2>& b) {
    const Bar& p = b[0];
    const Bar& x = b[1];
    return neck_setup(p, x) && p.c + 0.1 * (p.o - p.c) < x.c && x.c < midpoint(p.o, p.c) ? -1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(Thrusting, candlestick::CandlePattern<2, candlestick::thrusting>::create())
