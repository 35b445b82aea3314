#include <limits>

#include "indicators/core/catalogue.hpp"
#include "indicators/risk/gain_loss_window.hpp"

namespace ostrel {
namespace {

// Average gain over average loss; without a loss +infinity when anything was gained, else 1.
struct GainLossRatioRule {
    static double value(const GainLossWindow& w) {
        if (w.loss_count() == 0) return w.wins() > 0 ? std::numeric_limits<double>::infinity() : 1.0;
        return w.average_gain() / w.average_loss();
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(GainLossRatio, ostrel::GainLossMember<ostrel::GainLossRatioRule>::create(p.count(0)))
