#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double morning_doji_star(const Bars<3>& b) {
    return is_morning_doji_star(b) ? 1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(MorningDojiStar, candlestick::CandlePattern<3, candlestick::morning_doji_star>::create())
