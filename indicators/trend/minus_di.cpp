#include "indicators/core/catalogue.hpp"
#include "indicators/trend/directional_core.hpp"

OSTREL_FACTORY(MinusDi, ostrel::DirectionalLine<ostrel::DirectionalReading::MinusDi>::create(p.count(0)))
