#include "indicators/candlestick/candle_pattern.hpp"
#include "indicators/core/catalogue.hpp"

OSTREL_FACTORY(LongLine, candlestick::LineLength<true>::create())
