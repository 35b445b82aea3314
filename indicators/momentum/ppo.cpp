#include "indicators/momentum/ppo.hpp"

#include "indicators/core/catalogue.hpp"

OSTREL_FACTORY(Ppo, Ppo::create(p.count(0), p.count(1)))
