#include "indicators/core/catalogue.hpp"
#include "indicators/patterns/swing_pattern.hpp"

namespace ostrel {
namespace {

// Retracement to 0.786 of the first leg.
constexpr HarmonicBounds GARTLEY{{{0.55, 0.7}, {0.382, 0.886}, {1.13, 1.618}, {0.74, 0.84}}};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Gartley, ostrel::SwingPattern<ostrel::HarmonicRule<ostrel::GARTLEY>>::create())
