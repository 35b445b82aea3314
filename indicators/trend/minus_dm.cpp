#include "indicators/core/catalogue.hpp"
#include "indicators/trend/directional_core.hpp"

OSTREL_FACTORY(MinusDm, ostrel::DirectionalLine<ostrel::DirectionalReading::MinusDm>::create(p.count(0)))
