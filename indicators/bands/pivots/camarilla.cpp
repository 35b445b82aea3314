#include <array>

#include "indicators/bands/pivots/pivot_levels.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// Levels stepped around the close by fractions of 1.1 ranges: pp, r1 … r4, s1 … s4.
struct CamarillaLevels {
    static std::array<double, 9> of(const Candle& c) {
        const double m = (c.high - c.low) * 1.1;
        const std::array<double, 4> step{m / 12.0, m / 6.0, 0.25 * m, 0.5 * m};
        const double x = c.close;
        return {floor_pivot(c), x + step[0], x + step[1], x + step[2], x + step[3],
                x - step[0],    x - step[1], x - step[2], x - step[3]};
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Camarilla, ostrel::PerCandleLevels<ostrel::CamarillaLevels>::create())
