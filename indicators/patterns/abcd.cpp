#include "indicators/core/catalogue.hpp"
#include "indicators/patterns/swing_pattern.hpp"

namespace ostrel {
namespace {

// Two equal legs around a partial retracement.
struct AbcdRule {
    static constexpr std::size_t pivots = 4;
    static double of(const Pivots<4>& p) {
        const double g1 = std::fabs(leg(p, 0, 1));
        const double g2 = std::fabs(leg(p, 1, 2));
        const double g3 = std::fabs(leg(p, 2, 3));
        const bool all = ratio_within(g2, g1, {0.382, 0.886}) && ratio_within(g3, g2, {1.13, 2.618}) &&
                         within(g1, g3, 0.1);
        return all ? completion_sign(p[3]) : 0.0;
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Abcd, ostrel::SwingPattern<ostrel::AbcdRule>::create())
