#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double falling_three_methods(const Bars<5>& b) {
    return is_rising_three_methods(mirror(b)) ? -1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(FallingThreeMethods, candlestick::CandlePattern<5, candlestick::falling_three_methods>::create())
