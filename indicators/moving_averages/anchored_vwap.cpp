#include "indicators/core/catalogue.hpp"
#include "indicators/moving_averages/vwap.hpp"

OSTREL_FACTORY(AnchoredVwap, Vwap::create())
