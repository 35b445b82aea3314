#include "indicators/core/catalogue.hpp"
#include "indicators/patterns/swing_pattern.hpp"

namespace ostrel {
namespace {

// A pullback of less than half the pole; the kind of the pole's end gives the direction.
struct FlagPennantRule {
    static constexpr std::size_t pivots = 3;
    static double of(const Pivots<3>& p) {
        const double pole = leg(p, 0, 1);
        if (pole == 0.0) return 0.0;
        if (!(std::fabs(leg(p, 1, 2)) < 0.5 * std::fabs(pole))) return 0.0;
        return p[1].kind > 0.0 ? 1.0 : -1.0;
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(FlagPennant, ostrel::SwingPattern<ostrel::FlagPennantRule>::create())
