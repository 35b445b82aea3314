#include "indicators/core/catalogue.hpp"
#include "indicators/patterns/swing_pattern.hpp"

namespace ostrel {
namespace {

// Level highs and level lows.
struct RectangleRangeRule {
    static constexpr std::size_t pivots = 4;
    static double of(const Pivots<4>& p) {
        const Corners c = corners(p);
        if (!within(c.early_high, c.late_high, 0.03) || !within(c.early_low, c.late_low, 0.03)) return 0.0;
        return p[3].kind > 0.0 ? -1.0 : 1.0;
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(RectangleRange, ostrel::SwingPattern<ostrel::RectangleRangeRule>::create())
