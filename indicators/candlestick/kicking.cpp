#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

OSTREL_FACTORY(Kicking, candlestick::CandlePattern<2, candlestick::kicking>::create())
