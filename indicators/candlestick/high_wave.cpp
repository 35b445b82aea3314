#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double high_wave(const Bars<1>& b) {
    const Bar& x = b[0];
    const double r = x.range();
    return r > 0.0 && x.upper_shadow() >= 0.4 * r && x.lower_shadow() >= 0.4 * r ? 1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(HighWave, candlestick::CandlePattern<1, candlestick::high_wave>::create())
