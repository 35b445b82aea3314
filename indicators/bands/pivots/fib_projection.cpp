#include <array>

#include "indicators/bands/pivots/swing_levels.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// The A-to-B leg of the last three pivots projected from C: level_618 … level_2618.
struct ProjectionRule {
    static constexpr std::size_t kept = 3, needed = 3;
    static constexpr std::array<double, 4> ratios{0.618, 1.0, 1.618, 2.618};
    static std::array<double, 4> of(const SwingTracker& t) {
        return ratio_levels(t.recent(0).price, t.recent(1).price - t.recent(2).price, ratios);
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(FibProjection, ostrel::SwingLevels<ostrel::ProjectionRule>::create())
