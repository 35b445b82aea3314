#include <array>

#include "indicators/bands/pivots/swing_levels.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// The last leg carried past its older pivot: level_1272 … level_2618.
struct ExtensionRule {
    static constexpr std::size_t kept = 2, needed = 2;
    static constexpr std::array<double, 5> ratios{1.272, 1.414, 1.618, 2.0, 2.618};
    static std::array<double, 5> of(const SwingTracker& t) {
        const double newer = t.recent(0).price;
        return ratio_levels(newer, t.recent(1).price - newer, ratios);
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(FibExtension, ostrel::SwingLevels<ostrel::ExtensionRule>::create())
