#include "indicators/microstructure/book_top.hpp"

#include "indicators/core/catalogue.hpp"
#include "indicators/microstructure/record_member.hpp"

namespace ostrel {
namespace {

double top_imbalance(const OrderBook& r) {
    const auto top = book_top(r);
    if (!top) return 0.0;
    const double total = top->bid_size + top->ask_size;
    return total > 0.0 ? (top->bid_size - top->ask_size) / total : 0.0;
}

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(OrderBookImbalanceTop1, (RecordMember<InputKind::OrderBook, OrderBook, &top_imbalance>::create()))
