#include "indicators/core/catalogue.hpp"
#include "indicators/momentum/macd_core.hpp"

OSTREL_FACTORY(MacdIndicator, MacdCore::create(p.count(0), p.count(1), p.count(2)))
