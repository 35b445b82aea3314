#include <array>

#include "indicators/bands/pivots/swing_levels.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// base, level_618, level_1000, level_1618: the line through the outer two of the last three
// pivots at the current bar, and parallels offset by ratios of the middle pivot's distance.
struct ChannelRule {
    static constexpr std::size_t kept = 3, needed = 3;
    static std::array<double, 4> of(const SwingTracker& t) {
        const SwingPivot& p1 = t.recent(2);
        const SwingPivot& p2 = t.recent(1);
        const SwingPivot& p3 = t.recent(0);
        const double slope = (p3.price - p1.price) / static_cast<double>(p3.index - p1.index);
        const double base = p1.price + static_cast<double>(t.bar_index() - p1.index) * slope;
        const double o = p2.price - (p1.price + static_cast<double>(p2.index - p1.index) * slope);
        return {base, base + 0.618 * o, base + o, base + 1.618 * o};
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(FibChannel, ostrel::SwingLevels<ostrel::ChannelRule>::create())
