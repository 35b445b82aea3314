#include "indicators/core/catalogue.hpp"
#include "indicators/pairs/pair_statistic.hpp"

OSTREL_FACTORY(RollingCorrelation, ostrel::PairStatistic<ostrel::CorrelationOf>::create(
                                       p.count(0), "rolling correlation needs period >= 2"))
