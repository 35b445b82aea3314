#include "indicators/core/catalogue.hpp"
#include "indicators/profile/value_area.hpp"

namespace ostrel {
// The value area by bin centres; a zero-range window gives lo for all three.
using CompositeProfile = ValueAreaIndicator<ValueAreaStyle::Centres>;
}  // namespace ostrel

OSTREL_FACTORY(CompositeProfile, CompositeProfile::create(p.count(0), p.count(1), p.real(2)))
