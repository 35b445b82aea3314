#include "indicators/core/catalogue.hpp"
#include "indicators/pairs/pair_statistic.hpp"

OSTREL_FACTORY(PearsonCorrelation, ostrel::PairStatistic<ostrel::CorrelationOf>::create(
                                       p.count(0), "pearson correlation needs period >= 2"))
