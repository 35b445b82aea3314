#include "indicators/core/catalogue.hpp"
#include "indicators/pairs/pair_statistic.hpp"

namespace ostrel {
namespace {

struct CovarianceOf {
    double operator()(const PairMoments& m, double, double) const { return m.covariance(); }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(RollingCovariance, ostrel::PairStatistic<ostrel::CovarianceOf>::create(
                                      p.count(0), "rolling covariance needs period >= 2"))
