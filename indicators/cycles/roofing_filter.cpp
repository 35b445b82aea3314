#include "indicators/cycles/roofing_filter.hpp"

#include "indicators/core/catalogue.hpp"

OSTREL_FACTORY(RoofingFilter, ostrel::RoofingFilter::create(p.count(0), p.count(1)))
