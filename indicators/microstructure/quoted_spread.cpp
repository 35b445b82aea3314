#include "indicators/microstructure/book_top.hpp"

#include "indicators/core/catalogue.hpp"
#include "indicators/microstructure/record_member.hpp"

namespace ostrel {
namespace {

double quoted_spread(const OrderBook& r) {
    const auto top = book_top(r);
    if (!top) return 0.0;
    return (top->ask - top->bid) / top->mid() * 10000.0;
}

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(QuotedSpread, (RecordMember<InputKind::OrderBook, OrderBook, &quoted_spread>::create()))
