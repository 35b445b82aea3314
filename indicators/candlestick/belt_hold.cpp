#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double belt_hold(const Bars<1>& b) {
    return opening_marubozu_signal(b[0], 0.5);
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(BeltHold, candlestick::CandlePattern<1, candlestick::belt_hold>::create())
