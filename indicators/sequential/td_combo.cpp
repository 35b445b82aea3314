#include "indicators/sequential/td_countdown.hpp"

#include "indicators/core/catalogue.hpp"

OSTREL_FACTORY(TdCombo, TdCountdownCore<TdCountdownRule::Combo>::create(p.count(0), p.count(1), p.count(2), p.count(3)))
