#include "indicators/core/catalogue.hpp"
#include "indicators/trend/directional_core.hpp"

OSTREL_FACTORY(PlusDi, ostrel::DirectionalLine<ostrel::DirectionalReading::PlusDi>::create(p.count(0)))
