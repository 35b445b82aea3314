#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double downside_gap_three_methods(const Bars<3>& b) {
    return is_upside_gap_three_methods(mirror(b)) ? -1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(DownsideGapThreeMethods, candlestick::CandlePattern<3, candlestick::downside_gap_three_methods>::create())
