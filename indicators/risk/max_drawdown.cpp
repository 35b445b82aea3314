#include <cstdint>

#include "indicators/core/catalogue.hpp"
#include "indicators/risk/drawdown_tracker.hpp"

namespace ostrel {
namespace {

// Largest fall of the level series below its running peak within the window, as a fraction.
struct MaxDrawdownRule {
    static constexpr bool compounded = false;
    static constexpr std::uint64_t min_period = 1;
    static constexpr const char* too_short = nullptr;

    static double value(double, const DrawdownSummary& d) {
        return d.max_depth;
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(MaxDrawdown, ostrel::DrawdownMember<ostrel::MaxDrawdownRule>::create(p.count(0)))
