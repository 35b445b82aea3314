#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double separating_lines(const Bars<2>& b) {
    const Bar& p = b[0];
    const Bar& x = b[1];
    if (!(p.range() > 0.0 && std::fabs(x.o - p.o) <= 0.05 * p.range() && long_body(x, 0.5))) return 0.0;
    return either_way(b, [](const Bars<2>& k) {
        return k[1].bullish() && k[1].o - k[1].l <= 0.05 * k[1].range() && k[0].bearish();
    });
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(SeparatingLines, candlestick::CandlePattern<2, candlestick::separating_lines>::create())
