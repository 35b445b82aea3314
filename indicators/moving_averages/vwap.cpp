#include "indicators/moving_averages/vwap.hpp"

#include "indicators/core/catalogue.hpp"

OSTREL_FACTORY(Vwap, Vwap::create())
