#include "indicators/trend/aroon.hpp"

#include "indicators/core/catalogue.hpp"

OSTREL_FACTORY(Aroon, ostrel::Aroon::create(p.count(0)))
