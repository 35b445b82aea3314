#include "indicators/core/catalogue.hpp"
#include "indicators/trend/directional_core.hpp"

OSTREL_FACTORY(Dx, ostrel::DirectionalLine<ostrel::DirectionalReading::Dx>::create(p.count(0)))
