#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// Selling pressure (true high over the close) and buying pressure (close over the true low).
double selling(const candlestick::Bar& b, double prior_close) { return std::max(b.h, prior_close) - b.c; }
double buying(const candlestick::Bar& b, double prior_close) { return b.c - std::min(b.l, prior_close); }

// Two closes the same way while the pressures turn against them.
double td_differential(const candlestick::Bars<3>& b) {
    const candlestick::Bar& a = b[0];
    const candlestick::Bar& p = b[1];
    const candlestick::Bar& x = b[2];
    const double sp_p = selling(p, a.c);
    const double bp_p = buying(p, a.c);
    const double sp_x = selling(x, p.c);
    const double bp_x = buying(x, p.c);
    if (a.c > p.c && p.c > x.c && sp_x < sp_p && bp_x > bp_p) return 1.0;
    return a.c < p.c && p.c < x.c && sp_x > sp_p && bp_x < bp_p ? -1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TdDifferential, candlestick::CandlePattern<3, td_differential>::create())
