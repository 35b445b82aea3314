#include <array>

#include "indicators/bands/pivots/pivot_levels.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// pp, r1, s1 from a sum that doubles the extreme the candle closed towards (the close on a
// doji).
struct DemarkLevels {
    static std::array<double, 3> of(const Candle& c) {
        const double h = c.high, l = c.low, x = c.close;
        const double sum = x < c.open ? h + 2.0 * l + x : x > c.open ? 2.0 * h + l + x : h + l + 2.0 * x;
        const double half = sum / 2.0;
        return {sum / 4.0, half - l, half - h};
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(DemarkPivots, ostrel::PerCandleLevels<ostrel::DemarkLevels>::create())
