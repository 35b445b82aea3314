#include "indicators/core/catalogue.hpp"
#include "indicators/patterns/swing_pattern.hpp"

namespace ostrel {
namespace {

// Completion beyond the origin, at 1.27 to 1.618 of the first leg.
constexpr HarmonicBounds BUTTERFLY{{{0.74, 0.84}, {0.382, 0.886}, {1.618, 2.618}, {1.27, 1.618}}};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Butterfly, ostrel::SwingPattern<ostrel::HarmonicRule<ostrel::BUTTERFLY>>::create())
