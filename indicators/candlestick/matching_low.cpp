#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double matching_low(const Bars<2>& b) {
    const Bar& p = b[0];
    const Bar& x = b[1];
    return p.bearish() && x.bearish() && std::fabs(x.c - p.c) <= 0.05 * midpoint(x.range(), p.range()) ? 1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(MatchingLow, candlestick::CandlePattern<2, candlestick::matching_low>::create())
