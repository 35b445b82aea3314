#include "indicators/core/catalogue.hpp"
#include "indicators/volume/ad_line.hpp"

OSTREL_FACTORY(Adl, ostrel::AdLine::create())
