#include "indicators/core/catalogue.hpp"
#include "indicators/volume/volume_box.hpp"

OSTREL_FACTORY(CandleVolume, ostrel::VolumeBox<ostrel::CandleSpan::Body>::create(p.count(0)))
