#include <algorithm>
#include <array>

#include "indicators/bands/pivots/pivot_levels.hpp"
#include "indicators/core/catalogue.hpp"
#include "indicators/rolling/midpoint.hpp"

namespace ostrel {
namespace {

// pivot, tc, bc: the pivot with the range midpoint and its mirror through the pivot, the
// higher of those two on top.
struct CentralLevels {
    static std::array<double, 3> of(const Candle& c) {
        const double pivot = floor_pivot(c);
        const double mid = midpoint(c.high, c.low);
        const double mirror = 2.0 * pivot - mid;
        return {pivot, std::max(mirror, mid), std::min(mirror, mid)};
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(CentralPivotRange, ostrel::PerCandleLevels<ostrel::CentralLevels>::create())
