#include <cmath>
#include <cstdint>

#include "indicators/core/catalogue.hpp"
#include "indicators/risk/drawdown_tracker.hpp"

namespace ostrel {
namespace {

// Mean return over the root of the summed squared drawdowns of the compounded equity.
struct BurkeRatioRule {
    static constexpr bool compounded = true;
    static constexpr std::uint64_t min_period = 2;
    static constexpr const char* too_short = "burke ratio needs period >= 2";

    static double value(double mean, const DrawdownSummary& d) {
        if (d.depth_sq_sum == 0.0) return 0.0;
        return mean / std::sqrt(d.depth_sq_sum);
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(BurkeRatio, ostrel::DrawdownMember<ostrel::BurkeRatioRule>::create(p.count(0)))
