#include "indicators/microstructure/breadth_counts.hpp"

#include "indicators/core/catalogue.hpp"
#include "indicators/microstructure/record_member.hpp"

OSTREL_FACTORY(AdvanceDecline, (RunningTotal<InputKind::CrossSection, CrossSection, &advance_decline_net>::create()))
