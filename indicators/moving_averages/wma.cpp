#include "indicators/moving_averages/wma.hpp"

#include "indicators/core/catalogue.hpp"

OSTREL_FACTORY(Wma, Wma::create(p.count(0)))
