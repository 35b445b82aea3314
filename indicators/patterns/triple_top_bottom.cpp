#include "indicators/core/catalogue.hpp"
#include "indicators/patterns/swing_pattern.hpp"

namespace ostrel {
namespace {

// Three level turns of the same kind.
struct TripleTopBottomRule {
    static constexpr std::size_t pivots = 5;
    static double of(const Pivots<5>& p) {
        if (!within(p[0].price, p[2].price, 0.03) || !within(p[2].price, p[4].price, 0.03)) return 0.0;
        return p[4].kind > 0.0 ? -1.0 : 1.0;
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TripleTopBottom, ostrel::SwingPattern<ostrel::TripleTopBottomRule>::create())
