#include <cstdint>

#include "indicators/core/catalogue.hpp"
#include "indicators/risk/drawdown_tracker.hpp"

namespace ostrel {
namespace {

// Mean depth of the level series' drawdown episodes within the window; 0 without one.
struct AverageDrawdownRule {
    static constexpr bool compounded = false;
    static constexpr std::uint64_t min_period = 1;
    static constexpr const char* too_short = nullptr;

    static double value(double, const DrawdownSummary& d) {
        return d.mean_episode();
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(AverageDrawdown, ostrel::DrawdownMember<ostrel::AverageDrawdownRule>::create(p.count(0)))
