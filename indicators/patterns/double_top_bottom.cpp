#include "indicators/core/catalogue.hpp"
#include "indicators/patterns/swing_pattern.hpp"

namespace ostrel {
namespace {

// Two level turns of the same kind.
struct DoubleTopBottomRule {
    static constexpr std::size_t pivots = 3;
    static double of(const Pivots<3>& p) {
        if (!within(p[0].price, p[2].price, 0.03)) return 0.0;
        return p[2].kind > 0.0 ? -1.0 : 1.0;
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(DoubleTopBottom, ostrel::SwingPattern<ostrel::DoubleTopBottomRule>::create())
