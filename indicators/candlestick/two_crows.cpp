#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double two_crows(const Bars<3>& b) {
    const Bar& a = b[0];
    const Bar& p = b[1];
    const Bar& x = b[2];
    const bool gap = a.bullish() && p.bearish() && a.c < p.c;
    return gap && x.bearish() && p.c < x.o && x.o < p.o && a.o < x.c && x.c < a.c ? -1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(TwoCrows, candlestick::CandlePattern<3, candlestick::two_crows>::create())
