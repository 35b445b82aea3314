#include "indicators/bands/true_range.hpp"

#include "indicators/core/catalogue.hpp"

OSTREL_FACTORY(TrueRange, ostrel::TrueRange::create())
