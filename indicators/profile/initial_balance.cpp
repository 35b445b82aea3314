#include "indicators/profile/initial_balance.hpp"

#include "indicators/core/catalogue.hpp"

OSTREL_FACTORY(InitialBalance, InitialBalance::create(p.count(0)))
