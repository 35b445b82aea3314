#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double three_soldiers_or_crows(const Bars<3>& b) {
    return either_way(b, [](const Bars<3>& k) { return three_soldiers(k[0], k[1], k[2]); });
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(ThreeSoldiersOrCrows, candlestick::CandlePattern<3, candlestick::three_soldiers_or_crows>::create())
