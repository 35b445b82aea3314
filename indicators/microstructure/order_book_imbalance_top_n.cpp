#include <cstddef>
#include <cstdint>
#include <expected>
#include <limits>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/microstructure/book_top.hpp"

namespace ostrel {
namespace {

// Size imbalance over the first N levels of each side. N counts levels, sizes no window,
// so any count is accepted (0 reads no level and gives 0).
class OrderBookImbalanceTopN {
public:
    static constexpr InputKind input = InputKind::OrderBook;

    static std::expected<OrderBookImbalanceTopN, CoreError> create(std::uint64_t levels) {
        return OrderBookImbalanceTopN(levels);
    }

    std::optional<double> update(const OrderBook& b) { return level_imbalance(b, levels_); }

    std::size_t warmup_period() const { return 1; }

private:
    explicit OrderBookImbalanceTopN(std::uint64_t levels)
        : levels_(static_cast<std::size_t>(std::min<std::uint64_t>(levels, std::numeric_limits<std::size_t>::max()))) {}
    std::size_t levels_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(OrderBookImbalanceTopN, OrderBookImbalanceTopN::create(p.count(0)))
