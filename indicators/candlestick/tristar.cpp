#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double tristar(const Bars<3>& b) {
    const Bar& a = b[0];
    const Bar& p = b[1];
    const Bar& x = b[2];
    if (!is_doji(a) || !is_doji(p) || !is_doji(x)) return 0.0;
    return either_way(b, [](const Bars<3>& k) { return k[1].bottom() < k[2].bottom() && k[1].top() < k[0].bottom(); });
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(Tristar, candlestick::CandlePattern<3, candlestick::tristar>::create())
