#include "indicators/core/catalogue.hpp"
#include "indicators/volume/volume_index.hpp"

OSTREL_FACTORY(Pvi, ostrel::VolumeIndex<ostrel::VolumeShift::Rising>::create())
