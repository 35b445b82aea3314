#include "indicators/core/catalogue.hpp"
#include "indicators/risk/gain_loss_window.hpp"

namespace ostrel {
namespace {

// Net return of the window over the pain of its losses; 0 without a loss.
struct GainToPainRatioRule {
    static double value(const GainLossWindow& w) {
        if (w.loss_count() == 0) return 0.0;
        return w.total() / w.losses();
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(GainToPainRatio, ostrel::GainLossMember<ostrel::GainToPainRatioRule>::create(p.count(0)))
