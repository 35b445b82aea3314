#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

OSTREL_FACTORY(InvertedHammer, candlestick::CandlePattern<1, candlestick::inverted_hammer>::create())
