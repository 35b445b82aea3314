#include "indicators/microstructure/breadth_counts.hpp"

#include "indicators/core/catalogue.hpp"
#include "indicators/microstructure/record_member.hpp"

OSTREL_FACTORY(AdVolumeLine, (RunningTotal<InputKind::CrossSection, CrossSection, &up_down_volume_net>::create()))
