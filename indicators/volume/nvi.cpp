#include "indicators/core/catalogue.hpp"
#include "indicators/volume/volume_index.hpp"

OSTREL_FACTORY(Nvi, ostrel::VolumeIndex<ostrel::VolumeShift::Falling>::create())
