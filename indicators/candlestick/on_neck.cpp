#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double on_neck(const Bars<2>& b) {
    const Bar& p = b[0];
    const Bar& x = b[1];
    return neck_setup(p, x) && std::fabs(x.c - p.l) <= 0.05 * p.range() ? -1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(OnNeck, candlestick::CandlePattern<2, candlestick::on_neck>::create())
