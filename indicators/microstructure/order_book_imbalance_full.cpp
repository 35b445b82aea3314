#include <cstddef>
#include <limits>

#include "indicators/core/catalogue.hpp"
#include "indicators/microstructure/book_top.hpp"
#include "indicators/microstructure/record_member.hpp"

namespace ostrel {
namespace {

double full_imbalance(const OrderBook& b) { return level_imbalance(b, std::numeric_limits<std::size_t>::max()); }

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(OrderBookImbalanceFull, (RecordMember<InputKind::OrderBook, OrderBook, &full_imbalance>::create()))
