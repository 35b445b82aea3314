#include "indicators/moving_averages/alligator.hpp"

#include "indicators/core/catalogue.hpp"

OSTREL_FACTORY(Alligator, Alligator::create(p.count(0), p.count(1), p.count(2)))
