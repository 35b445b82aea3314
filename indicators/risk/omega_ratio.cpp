#include "indicators/core/catalogue.hpp"
#include "indicators/risk/gain_loss_window.hpp"

namespace ostrel {
namespace {

// Excess above the threshold over the shortfall below it, from the window of r − threshold.
// Without a shortfall +infinity when some excess is left, else 1.
struct OmegaRatioRule {
    static double value(const GainLossWindow& w) {
        return w.profit_factor();
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(OmegaRatio, ostrel::GainLossMember<ostrel::OmegaRatioRule>::create(p.count(0), p.real(1)))
