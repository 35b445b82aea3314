#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double evening_doji_star(const Bars<3>& b) {
    return is_morning_doji_star(mirror(b)) ? -1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(EveningDojiStar, candlestick::CandlePattern<3, candlestick::evening_doji_star>::create())
