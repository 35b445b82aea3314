#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double doji(const Bars<1>& b) {
    return is_doji(b[0]) ? 1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(Doji, candlestick::CandlePattern<1, candlestick::doji>::create())
