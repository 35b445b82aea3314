#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

// Three soldiers whose bodies shrink while the upper shadows grow.
double advance_block(const Bars<3>& b) {
    const Bar& a = b[0];
    const Bar& p = b[1];
    const Bar& x = b[2];
    const bool shrinking = (x.c - x.o) < (p.c - p.o) && (p.c - p.o) < (a.c - a.o);
    const bool topping = p.h - p.c <= x.h - x.c && x.h - x.c > 0.0;
    return three_soldiers(a, p, x) && shrinking && topping ? -1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(AdvanceBlock, candlestick::CandlePattern<3, candlestick::advance_block>::create())
