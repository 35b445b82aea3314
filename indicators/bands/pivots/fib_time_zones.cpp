#include <array>

#include "indicators/bands/pivots/swing_levels.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// on_zone, bars_to_next: whether the bars since the newest pivot are a Fibonacci number
// (1, 2, 3, 5, 8, …) and how far the next one is.
struct TimeZonesRule {
    static constexpr std::size_t kept = 2, needed = 1;
    static std::array<double, 2> of(const SwingTracker& t) {
        const double f = static_cast<double>(t.bar_index() - t.recent(0).index);
        double on_zone = 0.0;
        double a = 1.0, b = 2.0;  // Grows past any count within about 90 steps.
        while (a <= f) {
            if (a == f) on_zone = 1.0;
            const double next = a + b;
            a = b;
            b = next;
        }
        return {on_zone, a - f};
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(FibTimeZones, ostrel::SwingLevels<ostrel::TimeZonesRule>::create())
