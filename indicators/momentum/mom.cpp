#include "indicators/core/catalogue.hpp"
#include "indicators/momentum/lag_oscillator.hpp"

namespace ostrel {
namespace {

// Momentum: the plain change over N closes.
double momentum(double x, double p) { return x - p; }

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Mom, LagOscillator<momentum>::create(p.count(0)))
