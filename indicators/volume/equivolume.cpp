#include "indicators/core/catalogue.hpp"
#include "indicators/volume/volume_box.hpp"

OSTREL_FACTORY(Equivolume, ostrel::VolumeBox<ostrel::CandleSpan::Range>::create(p.count(0)))
