#include "indicators/core/catalogue.hpp"
#include "indicators/patterns/swing_pattern.hpp"

namespace ostrel {
namespace {

// Level rims with a handle inside the cup: above its bottom and short of the rim.
struct CupAndHandleRule {
    static constexpr std::size_t pivots = 4;
    static double of(const Pivots<4>& p) {
        const double bottom = p[1].price, rim = p[2].price, handle = p[3].price;
        if (!within(p[0].price, rim, 0.03)) return 0.0;
        if (p[3].kind < 0.0 && bottom < handle && handle < rim) return 1.0;
        if (p[3].kind > 0.0 && rim < handle && handle < bottom) return -1.0;
        return 0.0;
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(CupAndHandle, ostrel::SwingPattern<ostrel::CupAndHandleRule>::create())
