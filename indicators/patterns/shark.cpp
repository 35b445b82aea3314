#include "indicators/core/catalogue.hpp"
#include "indicators/patterns/swing_pattern.hpp"

namespace ostrel {
namespace {

// The second leg overshoots the origin; completion about one first leg away from its end.
constexpr HarmonicBounds SHARK{{{1.13, 1.618}, {1.618, 2.24}, {0.382, 0.886}, {0.886, 1.13}}};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Shark, ostrel::SwingPattern<ostrel::HarmonicRule<ostrel::SHARK>>::create())
