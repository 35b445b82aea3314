#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double gap_side_by_side_white(const Bars<3>& b) {
    const Bar& a = b[0];
    const Bar& p = b[1];
    const Bar& x = b[2];
    const bool twins = p.range() > 0.0 && p.bullish() && x.bullish() && std::fabs(x.o - p.o) <= 0.1 * p.range() &&
                       p.body() <= 2.0 * x.body() && x.body() <= 2.0 * p.body();
    if (!twins) return 0.0;
    // The gap from the first candle sets the sign; its colour is not read.
    if (p.bottom() > a.top()) return 1.0;
    return a.bottom() > p.top() ? -1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(GapSideBySideWhite, candlestick::CandlePattern<3, candlestick::gap_side_by_side_white>::create())
