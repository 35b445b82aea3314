#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double stick_sandwich(const Bars<3>& b) {
    const Bar& a = b[0];
    const Bar& p = b[1];
    const Bar& x = b[2];
    const bool bread = a.bearish() && p.bullish() && x.bearish() && a.c < p.l;
    return bread && std::fabs(x.c - a.c) <= 0.1 * a.range() ? 1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(StickSandwich, candlestick::CandlePattern<3, candlestick::stick_sandwich>::create())
