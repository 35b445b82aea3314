#include "indicators/moving_averages/vwma.hpp"

#include "indicators/core/catalogue.hpp"

OSTREL_FACTORY(Vwma, Vwma::create(p.count(0)))
