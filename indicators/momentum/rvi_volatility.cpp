#include "indicators/momentum/rvi_volatility.hpp"

#include "indicators/core/catalogue.hpp"

OSTREL_FACTORY(RviVolatility, RviVolatility::create(p.count(0)))
