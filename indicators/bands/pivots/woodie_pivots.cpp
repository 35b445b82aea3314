#include <array>

#include "indicators/bands/pivots/pivot_levels.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// Floor levels around a pivot that weighs the close twice: pp, r1, r2, s1, s2.
struct WoodieLevels {
    static std::array<double, 5> of(const Candle& c) {
        const double pp = (2.0 * c.close + (c.low + c.high)) * 0.25;
        const FloorLevels f = floor_levels(pp, c);
        return {pp, f.r1, f.r2, f.s1, f.s2};
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(WoodiePivots, ostrel::PerCandleLevels<ostrel::WoodieLevels>::create())
