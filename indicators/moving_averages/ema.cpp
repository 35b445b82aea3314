#include "indicators/moving_averages/ema.hpp"

#include "indicators/core/catalogue.hpp"

OSTREL_FACTORY(Ema, Ema::create(p.count(0)))
