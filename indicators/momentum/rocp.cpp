#include "indicators/core/catalogue.hpp"
#include "indicators/momentum/lag_oscillator.hpp"

namespace ostrel {
namespace {

// The change over N closes as a fraction of the older close, 0 from a base of 0.
double fractional_change(double x, double p) { return p == 0.0 ? 0.0 : (x - p) / p; }

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Rocp, LagOscillator<fractional_change>::create(p.count(0)))
