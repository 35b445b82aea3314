#include <array>

#include "indicators/bands/pivots/swing_levels.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// fan_382, fan_500, fan_618: lines from the older pivot through the ratios of the last leg.
struct FanRule {
    static constexpr std::size_t kept = 2, needed = 2;
    static std::array<double, 3> of(const SwingTracker& t) { return sweep_levels(t, leg_time(t)); }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(FibFan, ostrel::SwingLevels<ostrel::FanRule>::create())
