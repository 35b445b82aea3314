#include "indicators/core/catalogue.hpp"
#include "indicators/trend/directional_core.hpp"

OSTREL_FACTORY(PlusDm, ostrel::DirectionalLine<ostrel::DirectionalReading::PlusDm>::create(p.count(0)))
