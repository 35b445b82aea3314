#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double unique_three_river(const Bars<3>& b) {
    const Bar& a = b[0];
    const Bar& p = b[1];
    const Bar& x = b[2];
    const bool first = a.bearish() && a.o - a.c >= 0.5 * a.range();
    const bool second = p.bearish() && p.o <= a.o && p.c >= a.c && p.l < a.l;
    const bool third = x.bullish() && x.c - x.o <= 0.3 * x.range() && x.h <= p.c;
    return first && second && third ? 1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(UniqueThreeRiver, candlestick::CandlePattern<3, candlestick::unique_three_river>::create())
