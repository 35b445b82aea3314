#include "indicators/core/catalogue.hpp"
#include "indicators/momentum/lag_oscillator.hpp"

namespace ostrel {
namespace {

// The ratio to the close N back, 0 from a base of 0.
double change_ratio(double x, double p) { return p == 0.0 ? 0.0 : x / p; }

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Rocr, LagOscillator<change_ratio>::create(p.count(0)))
