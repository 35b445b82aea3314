#include "indicators/momentum/cci.hpp"

#include "indicators/core/catalogue.hpp"

OSTREL_FACTORY(Cci, Cci::create(p.count(0)))
