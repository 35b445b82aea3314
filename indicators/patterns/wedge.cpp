#include "indicators/core/catalogue.hpp"
#include "indicators/patterns/swing_pattern.hpp"

namespace ostrel {
namespace {

// Highs and lows moving the same way: lows faster when rising, slower when falling.
struct WedgeRule {
    static constexpr std::size_t pivots = 4;
    static double of(const Pivots<4>& p) {
        const Corners c = corners(p);
        const double dl = c.late_low - c.early_low;
        const double dh = c.late_high - c.early_high;
        if (dl > dh && dl > 0.0 && dh > 0.0) return -1.0;
        if (dl < 0.0 && dh < 0.0 && dh < dl) return 1.0;
        return 0.0;
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Wedge, ostrel::SwingPattern<ostrel::WedgeRule>::create())
