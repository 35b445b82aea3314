#include "indicators/bands/wilder_atr.hpp"

#include "indicators/core/catalogue.hpp"

OSTREL_FACTORY(Atr, ostrel::WilderAtr::create(p.count(0)))
