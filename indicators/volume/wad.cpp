#include "indicators/core/catalogue.hpp"
#include "indicators/volume/williams_ad_line.hpp"

OSTREL_FACTORY(Wad, ostrel::WilliamsAdLine::create())
