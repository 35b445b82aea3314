#include "indicators/core/catalogue.hpp"
#include "indicators/cycles/flex_oscillator.hpp"

OSTREL_FACTORY(Reflex, ostrel::FlexOscillator<ostrel::FlexKind::Reflex>::create(p.count(0)))
