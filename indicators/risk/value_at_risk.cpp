#include "indicators/core/catalogue.hpp"
#include "indicators/risk/tail_quantiles.hpp"

namespace ostrel {
namespace {

// Historical value at risk: the loss at the (1 − confidence) quantile of the window.
struct ValueAtRiskRule {
    static constexpr const char* too_short = "value-at-risk needs period >= 2";

    static double value(const SortedWindow& w, double tail) { return loss_beyond(w.quantile(tail)); }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(ValueAtRisk, ostrel::TailRiskMember<ostrel::ValueAtRiskRule>::create(p.count(0), p.real(1)))
