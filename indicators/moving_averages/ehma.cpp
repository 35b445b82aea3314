#include "indicators/core/catalogue.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"
#include "indicators/moving_averages/hull_average.hpp"

OSTREL_FACTORY(Ehma, HullAverage<ExpSmoother>::create(p.count(0)))
