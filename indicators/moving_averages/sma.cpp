#include "indicators/moving_averages/sma.hpp"

#include "indicators/core/catalogue.hpp"

OSTREL_FACTORY(Sma, Sma::create(p.count(0)))
