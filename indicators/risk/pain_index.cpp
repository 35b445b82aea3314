#include <cstdint>

#include "indicators/core/catalogue.hpp"
#include "indicators/risk/drawdown_tracker.hpp"

namespace ostrel {
namespace {

// Mean per-step depth below the running peak over the window (a fraction, not a percentage).
struct PainIndexRule {
    static constexpr bool compounded = false;
    static constexpr std::uint64_t min_period = 1;
    static constexpr const char* too_short = nullptr;

    static double value(double, const DrawdownSummary& d) {
        return d.depth_sum / static_cast<double>(d.steps);
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(PainIndex, ostrel::DrawdownMember<ostrel::PainIndexRule>::create(p.count(0)))
