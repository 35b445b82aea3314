#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double homing_pigeon(const Bars<2>& b) {
    const Bar& p = b[0];
    const Bar& x = b[1];
    return p.bearish() && x.bearish() && x.c >= p.c && x.o <= p.o && (p.o - p.c) > (x.o - x.c) ? 1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(HomingPigeon, candlestick::CandlePattern<2, candlestick::homing_pigeon>::create())
