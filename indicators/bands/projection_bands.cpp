#include "indicators/bands/projection_bands.hpp"

#include "indicators/core/catalogue.hpp"

OSTREL_FACTORY(ProjectionBands, ostrel::ProjectionBands::create(p.count(0)))
