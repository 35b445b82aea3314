#include "indicators/core/catalogue.hpp"
#include "indicators/patterns/swing_pattern.hpp"

namespace ostrel {
namespace {

// Level shoulders and neckline around a head that stands out of both shoulders.
struct HeadAndShouldersRule {
    static constexpr std::size_t pivots = 5;
    static double of(const Pivots<5>& p) {
        const double ls = p[0].price, head = p[2].price, rs = p[4].price;
        if (!within(ls, rs, 0.03) || !within(p[1].price, p[3].price, 0.03)) return 0.0;
        const bool high = p[4].kind > 0.0;
        if (head > ls && head > rs && high) return -1.0;
        if (head < ls && head < rs && !high) return 1.0;
        return 0.0;
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(HeadAndShoulders, ostrel::SwingPattern<ostrel::HeadAndShouldersRule>::create())
