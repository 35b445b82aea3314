#include "indicators/momentum/awesome_oscillator.hpp"

#include "indicators/core/catalogue.hpp"

OSTREL_FACTORY(AwesomeOscillator, AwesomeOscillator::create(p.count(0), p.count(1)))
