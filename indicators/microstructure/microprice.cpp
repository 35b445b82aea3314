#include "indicators/microstructure/book_top.hpp"

#include "indicators/core/catalogue.hpp"
#include "indicators/microstructure/record_member.hpp"

namespace ostrel {
namespace {

double microprice(const OrderBook& r) {
    const auto top = book_top(r);
    if (!top) return 0.0;
    const double total = top->bid_size + top->ask_size;
    if (!(total > 0.0)) return top->mid();
    return (top->bid_size * top->ask + top->bid * top->ask_size) / total;
}

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Microprice, (RecordMember<InputKind::OrderBook, OrderBook, &microprice>::create()))
