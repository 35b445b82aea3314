#include <algorithm>
#include <array>
#include <cmath>

#include "indicators/bands/pivots/swing_levels.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// arc_382, arc_500, arc_618: the fan ratios scaled by √(1 − t²), t the elapsed leg time.
// t exceeds 1 on every bar after a confirmation, so the arcs sit on the older pivot.
struct ArcsRule {
    static constexpr std::size_t kept = 2, needed = 2;
    static std::array<double, 3> of(const SwingTracker& t) {
        const double x = leg_time(t);
        return sweep_levels(t, std::sqrt(std::max(0.0, 1.0 - x * x)));
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(FibArcs, ostrel::SwingLevels<ostrel::ArcsRule>::create())
