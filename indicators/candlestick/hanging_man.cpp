#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

OSTREL_FACTORY(HangingMan, candlestick::CandlePattern<1, candlestick::hammer>::create())
