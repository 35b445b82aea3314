#include "indicators/microstructure/book_top.hpp"

#include "indicators/core/catalogue.hpp"
#include "indicators/microstructure/record_member.hpp"

OSTREL_FACTORY(CumulativeVolumeDelta, (RunningTotal<InputKind::Trades, TradePrint, &signed_size>::create()))
