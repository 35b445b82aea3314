#include "indicators/core/catalogue.hpp"
#include "indicators/momentum/lag_oscillator.hpp"

OSTREL_FACTORY(Roc, LagOscillator<rate_of_change>::create(p.count(0)))
