#include "indicators/moving_averages/zlema.hpp"

#include "indicators/core/catalogue.hpp"

OSTREL_FACTORY(Zlema, Zlema::create(p.count(0)))
