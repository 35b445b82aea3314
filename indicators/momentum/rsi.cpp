#include "indicators/core/catalogue.hpp"
#include "indicators/momentum/wilder_rsi.hpp"

OSTREL_FACTORY(Rsi, WilderRsi::create(p.count(0)))
