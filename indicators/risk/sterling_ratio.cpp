#include <cmath>
#include <cstdint>

#include "indicators/core/catalogue.hpp"
#include "indicators/risk/drawdown_tracker.hpp"

namespace ostrel {
namespace {

// Mean return over the mean depth of the compounded equity's drawdown episodes; 0 without one.
struct SterlingRatioRule {
    static constexpr bool compounded = true;
    static constexpr std::uint64_t min_period = 2;
    static constexpr const char* too_short = "sterling ratio needs period >= 2";

    static double value(double mean, const DrawdownSummary& d) {
        const double depth = d.mean_episode();
        if (d.episodes == 0 || !(depth > 0.0)) return 0.0;
        return mean / depth;
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(SterlingRatio, ostrel::DrawdownMember<ostrel::SterlingRatioRule>::create(p.count(0)))
