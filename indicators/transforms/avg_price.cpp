#include <cmath>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/transforms/heikin_ashi_step.hpp"

namespace ostrel {
namespace {

// Mean of the four prices of a candle.
class AvgPrice {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<AvgPrice, CoreError> create() { return AvgPrice(); }

    std::optional<double> update(const Candle& c) { return avg_price(c.open, c.high, c.low, c.close); }

    std::size_t warmup_period() const { return 1; }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(AvgPrice, AvgPrice::create())
