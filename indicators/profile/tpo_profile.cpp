#include "indicators/core/catalogue.hpp"
#include "indicators/profile/profile_range.hpp"

namespace ostrel {
// Time at price: every candle counts once in each bin its range touches.
using TpoProfile = ProfileRange<ProfileWindow::Weight::Time>;
}  // namespace ostrel

OSTREL_FACTORY(TpoProfile, TpoProfile::create(p.count(0), p.count(1)))
