#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

// Three soldiers struck by a bearish candle that opens above them and closes below the first open (+1).
double three_line_strike(const Bars<4>& b) {
    return either_way(b, [](const Bars<4>& k) {
        const Bar& x = k[3];
        return three_soldiers(k[0], k[1], k[2]) && x.bearish() && x.o > k[2].c && x.c < k[0].o;
    });
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(ThreeLineStrike, candlestick::CandlePattern<4, candlestick::three_line_strike>::create())
