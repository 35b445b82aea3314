#include <cmath>
#include <cstdint>

#include "indicators/core/catalogue.hpp"
#include "indicators/risk/drawdown_tracker.hpp"

namespace ostrel {
namespace {

// Mean return over the maximum drawdown of the equity compounded from 1; 0 without one.
struct CalmarRatioRule {
    static constexpr bool compounded = true;
    static constexpr std::uint64_t min_period = 2;
    static constexpr const char* too_short = "calmar ratio needs period >= 2";

    static double value(double mean, const DrawdownSummary& d) {
        if (d.max_depth == 0.0) return 0.0;
        return mean / d.max_depth;
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(CalmarRatio, ostrel::DrawdownMember<ostrel::CalmarRatioRule>::create(p.count(0)))
