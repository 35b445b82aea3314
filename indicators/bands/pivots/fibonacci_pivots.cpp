#include <array>

#include "indicators/bands/pivots/pivot_levels.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// Floor pivot ± 0.382, 0.618 and 1 range: pp, r1, r2, r3, s1, s2, s3.
struct FibonacciLevels {
    static std::array<double, 7> of(const Candle& c) {
        const double pp = floor_pivot(c);
        const double r = c.high - c.low;
        const std::array<double, 3> step{0.382 * r, 0.618 * r, r};
        return {pp, pp + step[0], pp + step[1], pp + step[2], pp - step[0], pp - step[1], pp - step[2]};
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(FibonacciPivots, ostrel::PerCandleLevels<ostrel::FibonacciLevels>::create())
