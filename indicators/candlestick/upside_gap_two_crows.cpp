#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double upside_gap_two_crows(const Bars<3>& b) {
    const Bar& a = b[0];
    const Bar& p = b[1];
    const Bar& x = b[2];
    const bool gap = a.bullish() && p.bearish() && a.c < p.c;
    return gap && x.bearish() && x.o > p.o && a.c < x.c && x.c < p.c ? -1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(UpsideGapTwoCrows, candlestick::CandlePattern<3, candlestick::upside_gap_two_crows>::create())
