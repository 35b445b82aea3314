#include "indicators/core/catalogue.hpp"
#include "indicators/profile/profile_range.hpp"

namespace ostrel {
using VolumeProfile = ProfileRange<ProfileWindow::Weight::Volume>;
}  // namespace ostrel

OSTREL_FACTORY(VolumeProfile, VolumeProfile::create(p.count(0), p.count(1)))
