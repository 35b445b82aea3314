#include "indicators/trend/adx.hpp"

#include "indicators/core/catalogue.hpp"

OSTREL_FACTORY(Adx, ostrel::Adx::create(p.count(0)))
