#include <algorithm>
#include <cmath>

#include "indicators/core/catalogue.hpp"
#include "indicators/cycles/smoothed_period.hpp"

namespace ostrel {
namespace {

// Half the dominant cycle, a lookback for cycle-adaptive members.
double half_cycle(double sp) { return std::clamp(std::round(sp / 2.0), 3.0, 25.0); }

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(AdaptiveCycle, ostrel::SmoothedPeriod<ostrel::half_cycle>::create())
