#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double marubozu(const Bars<1>& b) {
    const Bar& x = b[0];
    const double r = x.range();
    const bool shaved = r > 0.0 && x.body() != 0.0 && x.upper_shadow() <= 0.05 * r && x.lower_shadow() <= 0.05 * r;
    return shaved ? colour(x) : 0.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(Marubozu, candlestick::CandlePattern<1, candlestick::marubozu>::create())
