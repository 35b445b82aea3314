#include "indicators/core/catalogue.hpp"
#include "indicators/moving_averages/hull_average.hpp"
#include "indicators/moving_averages/weighted_window.hpp"

OSTREL_FACTORY(Hma, HullAverage<WeightedWindow>::create(p.count(0)))
