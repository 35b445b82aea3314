#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/microstructure/book_top.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// Sum over the last N book changes of the top-of-book order-flow increment.
class OrderFlowImbalance {
public:
    static constexpr InputKind input = InputKind::OrderBook;

    static std::expected<OrderFlowImbalance, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return OrderFlowImbalance(period);
    }

    std::optional<double> update(const OrderBook& b) {
        const std::optional<BookTop> top = book_top(b);
        if (!top) return std::nullopt;
        const std::optional<BookTop> prev = previous_;
        previous_ = top;
        if (!prev) return std::nullopt;
        const double bid_flow = (top->bid >= prev->bid ? top->bid_size : 0.0) - (top->bid <= prev->bid ? prev->bid_size : 0.0);
        const double ask_flow = (top->ask <= prev->ask ? top->ask_size : 0.0) - (top->ask >= prev->ask ? prev->ask_size : 0.0);
        sum_.push(bid_flow - ask_flow);
        if (!sum_.full()) return std::nullopt;
        return sum_.sum();
    }

    std::size_t warmup_period() const { return sum_.period() + 1; }

private:
    explicit OrderFlowImbalance(std::size_t n) : sum_(n) {}
    std::optional<BookTop> previous_;
    RunningSum sum_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(OrderFlowImbalance, OrderFlowImbalance::create(p.count(0)))
