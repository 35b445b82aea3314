#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double hikkake(const Bars<3>& b) {
    const Bar& a = b[0];
    const Bar& p = b[1];
    const Bar& x = b[2];
    if (!inside(a, p)) return 0.0;
    if (x.h < p.h && x.l < p.l) return 1.0;
    return x.h > p.h && x.l > p.l ? -1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(Hikkake, candlestick::CandlePattern<3, candlestick::hikkake>::create())
