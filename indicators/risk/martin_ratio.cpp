#include <cmath>
#include <cstdint>

#include "indicators/core/catalogue.hpp"
#include "indicators/risk/drawdown_tracker.hpp"

namespace ostrel {
namespace {

// Mean return over the ulcer index (root mean squared percent drawdown) of the compounded equity.
struct MartinRatioRule {
    static constexpr bool compounded = true;
    static constexpr std::uint64_t min_period = 2;
    static constexpr const char* too_short = "martin ratio needs period >= 2";

    static double value(double mean, const DrawdownSummary& d) {
        const double ulcer = std::sqrt(d.pct_sq_sum / static_cast<double>(d.steps));
        if (ulcer == 0.0) return 0.0;
        return mean / ulcer;
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(MartinRatio, ostrel::DrawdownMember<ostrel::MartinRatioRule>::create(p.count(0)))
