#include "indicators/core/catalogue.hpp"
#include "indicators/risk/gain_loss_window.hpp"

namespace ostrel {
namespace {

// Kelly fraction W − (1 − W)/R from the win rate W and the gain/loss ratio R. Without a
// loss it is W (0 for a window of zeros, which has no edge either way); without a gain −1.
struct KellyCriterionRule {
    static double value(const GainLossWindow& w) {
        const double win_rate = static_cast<double>(w.wins()) / w.size();
        if (w.loss_count() == 0) return win_rate;
        if (w.wins() == 0) return -1.0;
        const double r = w.average_gain() / w.average_loss();
        return win_rate - (1.0 - win_rate) / r;
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(KellyCriterion, ostrel::GainLossMember<ostrel::KellyCriterionRule>::create(p.count(0)))
