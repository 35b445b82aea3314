#include <algorithm>
#include <array>

#include "indicators/bands/pivots/swing_levels.hpp"
#include "indicators/core/catalogue.hpp"
#include "indicators/rolling/midpoint.hpp"

namespace ostrel {
namespace {

// low, mid, high: the band from 0.618 to 0.65 of the last leg, measured up from its low end.
struct GoldenPocketRule {
    static constexpr std::size_t kept = 2, needed = 2;
    static std::array<double, 3> of(const SwingTracker& t) {
        const double a = t.recent(1).price, b = t.recent(0).price;
        const double lo = std::min(a, b), hi = std::max(a, b);
        const double low = lo + 0.618 * (hi - lo);
        const double high = lo + 0.65 * (hi - lo);
        return {low, midpoint(low, high), high};
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(GoldenPocket, ostrel::SwingLevels<ostrel::GoldenPocketRule>::create())
