#include <array>

#include "indicators/bands/pivots/pivot_levels.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// Floor pivots: pp, r1, r2, r3, s1, s2, s3.
struct ClassicLevels {
    static std::array<double, 7> of(const Candle& c) {
        const double pp = floor_pivot(c);
        const FloorLevels f = floor_levels(pp, c);
        const double r3 = (pp - c.low) * 2.0 + c.high;
        const double s3 = c.low - (c.high - pp) * 2.0;
        return {pp, f.r1, f.r2, r3, f.s1, f.s2, s3};
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(ClassicPivots, ostrel::PerCandleLevels<ostrel::ClassicLevels>::create())
