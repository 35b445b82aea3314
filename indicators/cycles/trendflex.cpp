#include "indicators/core/catalogue.hpp"
#include "indicators/cycles/flex_oscillator.hpp"

OSTREL_FACTORY(Trendflex, ostrel::FlexOscillator<ostrel::FlexKind::Trendflex>::create(p.count(0)))
