#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double opening_marubozu(const Bars<1>& b) {
    return opening_marubozu_signal(b[0], 0.7);
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(OpeningMarubozu, candlestick::CandlePattern<1, candlestick::opening_marubozu>::create())
