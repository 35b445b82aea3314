#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

// Two nested inside bars, the middle one closing near its low, then a break lower (+1).
double hikkake_modified(const Bars<4>& b) {
    if (!inside(b[0], b[1]) || !inside(b[1], b[2])) return 0.0;
    return either_way(b, [](const Bars<4>& k) {
        const Bar& x2 = k[1];
        const double band = 0.2 * (x2.h - x2.l);
        return x2.c <= x2.l + band && k[3].h < k[2].h && k[3].l < k[2].l;
    });
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(HikkakeModified, candlestick::CandlePattern<4, candlestick::hikkake_modified>::create())
