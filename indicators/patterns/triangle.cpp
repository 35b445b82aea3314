#include "indicators/core/catalogue.hpp"
#include "indicators/patterns/swing_pattern.hpp"

namespace ostrel {
namespace {

// Ascending (flat top, rising lows), descending (falling highs, flat bottom) or symmetrical
// (falling highs, rising lows).
struct TriangleRule {
    static constexpr std::size_t pivots = 4;
    static double of(const Pivots<4>& p) {
        const Corners c = corners(p);
        const bool rising_lows = c.late_low > 1.03 * c.early_low;
        if (within(c.early_high, c.late_high, 0.03)) return rising_lows ? 1.0 : 0.0;
        if (!(c.late_high < 0.97 * c.early_high)) return 0.0;
        if (within(c.early_low, c.late_low, 0.03)) return -1.0;
        if (rising_lows) return p[3].kind > 0.0 ? -1.0 : 1.0;
        return 0.0;
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Triangle, ostrel::SwingPattern<ostrel::TriangleRule>::create())
