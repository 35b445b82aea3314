#include "indicators/core/catalogue.hpp"
#include "indicators/patterns/swing_pattern.hpp"

namespace ostrel {
namespace {

// A shallow second leg and a completion near 0.886 of the first.
constexpr HarmonicBounds BAT{{{0.382, 0.5}, {0.382, 0.886}, {1.618, 2.618}, {0.84, 0.93}}};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Bat, ostrel::SwingPattern<ostrel::HarmonicRule<ostrel::BAT>>::create())
