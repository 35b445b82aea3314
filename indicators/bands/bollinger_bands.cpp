#include "indicators/bands/bollinger_bands.hpp"

#include "indicators/core/catalogue.hpp"

OSTREL_FACTORY(BollingerBands, ostrel::BollingerBands::create(p.count(0), p.real(1)))
