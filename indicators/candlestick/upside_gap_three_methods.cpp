#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double upside_gap_three_methods(const Bars<3>& b) {
    return is_upside_gap_three_methods(b) ? 1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(UpsideGapThreeMethods, candlestick::CandlePattern<3, candlestick::upside_gap_three_methods>::create())
