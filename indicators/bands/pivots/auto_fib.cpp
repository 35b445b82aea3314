#include <array>
#include <cmath>

#include "indicators/bands/pivots/swing_levels.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// Retracement levels of the widest leg among the last six pivots; a later leg wins ties.
struct AutoFibRule {
    static constexpr std::size_t kept = 6, needed = 2;
    static std::array<double, 7> of(const SwingTracker& t) {
        std::size_t best = 1;
        double widest = -1.0;
        for (std::size_t i = 1; i < t.size(); ++i) {
            const double width = std::fabs(t[i].price - t[i - 1].price);
            if (width >= widest) {
                widest = width;
                best = i;
            }
        }
        return retracement(t[best - 1], t[best]);
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(AutoFib, ostrel::SwingLevels<ostrel::AutoFibRule>::create())
