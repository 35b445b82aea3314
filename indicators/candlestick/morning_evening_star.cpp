#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel::candlestick {
namespace {

double morning_evening_star(const Bars<3>& b) {
    const Bar& a = b[0];
    const Bar& p = b[1];
    const Bar& x = b[2];
    if (x.body() == 0.0 || a.body() == 0.0 || 2.0 * p.body_size() > a.body_size() || 2.0 * p.body_size() > x.body_size())
        return 0.0;
    return either_way(b, [](const Bars<3>& k) {
        return k[0].bearish() && k[0].c > k[1].top() && k[2].bullish() && k[2].c > k[0].c + 0.3 * k[0].body_size();
    });
}

}  // namespace
}  // namespace ostrel::candlestick

OSTREL_FACTORY(MorningEveningStar, candlestick::CandlePattern<3, candlestick::morning_evening_star>::create())
