#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double three_stars_in_south(const Bars<3>& b) {
    const Bar& a = b[0];
    const Bar& p = b[1];
    const Bar& x = b[2];
    const double tol = 0.001 * std::max(std::fabs(x.h), std::fabs(x.l));
    const bool first = a.bearish() && a.o - a.c <= a.c - a.l;
    const bool second = p.bearish() && a.c <= p.o && p.o <= a.o && a.c < p.c && a.l < p.l && (p.o - p.c) < (a.o - a.c);
    const bool third = x.bearish() && x.h - x.o <= tol && x.c - x.l <= tol && x.h < p.h && x.l > p.l;
    return first && second && third ? 1.0 : 0.0;
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(ThreeStarsInSouth, candlestick::CandlePattern<3, candlestick::three_stars_in_south>::create())
