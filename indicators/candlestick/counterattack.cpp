#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double counterattack(const Bars<2>& b) {
    const Bar& p = b[0];
    const Bar& x = b[1];
    const bool lines = x.body_size() >= 0.5 * x.range() && p.body_size() >= 0.5 * p.range() &&
                       std::fabs(x.c - p.c) <= 0.05 * (x.range() + p.range()) / 2.0;
    if (!lines) return 0.0;
    if (x.bullish() && p.bearish()) return 1.0;
    return x.bearish() && p.bullish() ? -1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(Counterattack, candlestick::CandlePattern<2, candlestick::counterattack>::create())
