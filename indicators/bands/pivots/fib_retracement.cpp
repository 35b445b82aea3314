#include <array>

#include "indicators/bands/pivots/swing_levels.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// level_0 … level_1000 of the last swing leg.
struct RetracementRule {
    static constexpr std::size_t kept = 2, needed = 2;
    static std::array<double, 7> of(const SwingTracker& t) { return retracement(t.recent(1), t.recent(0)); }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(FibRetracement, ostrel::SwingLevels<ostrel::RetracementRule>::create())
