#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double closing_marubozu(const Bars<1>& b) {
    return either_way(b[0], [](const Bar& x) {
        return long_body(x, 0.7) && x.bullish() && x.h - x.c <= 0.05 * x.range();
    });
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(ClosingMarubozu, candlestick::CandlePattern<1, candlestick::closing_marubozu>::create())
