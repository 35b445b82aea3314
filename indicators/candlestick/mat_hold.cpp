#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double mat_hold(const Bars<5>& b) {
    const Bar& x1 = b[0];
    const Bar& x = b[4];
    if (!(x1.range() > 0.0 && x1.bullish() && x1.body() >= 0.5 * x1.range())) return 0.0;
    for (std::size_t i = 1; i <= 3; ++i)
        if (!(b[i].body_size() <= 0.5 * x1.body())) return 0.0;
    const double low = std::min({b[1].l, b[2].l, b[3].l});
    const double high = std::max({x1.h, b[1].h, b[2].h, b[3].h});
    return b[1].bottom() > x1.c && low > x1.c - 0.5 * x1.body() && x.bullish() && x.c > high ? 1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(MatHold, candlestick::CandlePattern<5, candlestick::mat_hold>::create())
