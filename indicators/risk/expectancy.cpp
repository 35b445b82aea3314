#include "indicators/core/catalogue.hpp"
#include "indicators/risk/gain_loss_window.hpp"

namespace ostrel {
namespace {

// Mean return in units of the average loss; 0 when the window holds no loss.
struct ExpectancyRule {
    static double value(const GainLossWindow& w) {
        if (w.loss_count() == 0) return 0.0;
        return (w.total() / w.size()) / w.average_loss();
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Expectancy, ostrel::GainLossMember<ostrel::ExpectancyRule>::create(p.count(0)))
