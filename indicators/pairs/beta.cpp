#include "indicators/core/catalogue.hpp"
#include "indicators/pairs/pair_statistic.hpp"

namespace ostrel {
namespace {

// The close regressed on the reference over the window; 0 over a flat reference.
struct BetaOf {
    double operator()(const PairMoments& m, double, double) const { return m.beta(); }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Beta, ostrel::PairStatistic<ostrel::BetaOf>::create(p.count(0), "beta needs period >= 2"))
