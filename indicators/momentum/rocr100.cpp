#include "indicators/core/catalogue.hpp"
#include "indicators/momentum/lag_oscillator.hpp"

namespace ostrel {
namespace {

// The ratio to the close N back in percent, 0 from a base of 0.
double change_ratio_percent(double x, double p) { return p == 0.0 ? 0.0 : x / p * 100.0; }

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Rocr100, LagOscillator<change_ratio_percent>::create(p.count(0)))
