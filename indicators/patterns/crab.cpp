#include "indicators/core/catalogue.hpp"
#include "indicators/patterns/swing_pattern.hpp"

namespace ostrel {
namespace {

// The deepest extension: completion near 1.618 of the first leg.
constexpr HarmonicBounds CRAB{{{0.382, 0.618}, {0.382, 0.886}, {2.24, 3.618}, {1.55, 1.65}}};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Crab, ostrel::SwingPattern<ostrel::HarmonicRule<ostrel::CRAB>>::create())
