#include "indicators/core/catalogue.hpp"
#include "indicators/pairs/pair_statistic.hpp"

namespace ostrel {
namespace {

// Jensen's alpha on the raw values: mean_x − (rf + beta·(mean_y − rf)), and mean_x − rf
// where the reference has no variance.
struct AlphaOf {
    double rf;
    double operator()(const PairMoments& m, double, double) const {
        if (m.variance_y() == 0.0) return m.mean_x() - rf;
        return m.mean_x() - (rf + m.beta() * (m.mean_y() - rf));
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Alpha, ostrel::PairStatistic<ostrel::AlphaOf>::create(p.count(0), "alpha needs period >= 2",
                                                                     ostrel::AlphaOf{p.real(1)}))
