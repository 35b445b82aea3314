#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double concealing_baby_swallow(const Bars<4>& b) {
    const auto shaved_bear = [](const Bar& m) {
        const double r = m.range();
        return r > 0.0 && m.bearish() && m.h - m.o <= 0.05 * r && m.c - m.l <= 0.05 * r;
    };
    const Bar& x3 = b[2];
    const Bar& x = b[3];
    if (!shaved_bear(b[0]) || !shaved_bear(b[1])) return 0.0;
    const bool baby = x3.bearish() && x3.o < b[1].c && b[1].c < x3.h;
    return baby && x.bearish() && x.o > x3.h && x.c < x3.l ? 1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(ConcealingBabySwallow, candlestick::CandlePattern<4, candlestick::concealing_baby_swallow>::create())
