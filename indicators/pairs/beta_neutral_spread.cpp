#include "indicators/core/catalogue.hpp"
#include "indicators/pairs/pair_statistic.hpp"

namespace ostrel {
namespace {

// The newest close less the reference scaled by the window's beta.
struct BetaNeutralSpreadOf {
    double operator()(const PairMoments& m, double x, double y) const { return x - m.beta() * y; }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(BetaNeutralSpread, ostrel::PairStatistic<ostrel::BetaNeutralSpreadOf>::create(
                                      p.count(0), "beta-neutral spread needs period >= 2"))
