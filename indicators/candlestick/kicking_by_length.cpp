#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double kicking_by_length(const Bars<2>& b) {
    const double setup = kicking(b);
    if (setup == 0.0) return 0.0;
    // The longer marubozu sets the sign.
    return b[0].body_size() >= b[1].body_size() ? -setup : setup;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(KickingByLength, candlestick::CandlePattern<2, candlestick::kicking_by_length>::create())
