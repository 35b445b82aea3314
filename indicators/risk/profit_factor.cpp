#include "indicators/core/catalogue.hpp"
#include "indicators/risk/gain_loss_window.hpp"

namespace ostrel {
namespace {

// Gross gain over gross loss; without a loss +infinity when anything was gained, else 1.
struct ProfitFactorRule {
    static double value(const GainLossWindow& w) {
        return w.profit_factor();
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(ProfitFactor, ostrel::GainLossMember<ostrel::ProfitFactorRule>::create(p.count(0)))
