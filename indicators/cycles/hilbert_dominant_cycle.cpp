#include "indicators/core/catalogue.hpp"
#include "indicators/cycles/smoothed_period.hpp"

namespace ostrel {
namespace {

double period(double sp) { return sp; }

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(HilbertDominantCycle, ostrel::SmoothedPeriod<ostrel::period>::create())
