#include <array>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/indicator.hpp"

namespace ostrel {
namespace {

// Outputs long, short, net, total, imbalance; the primary value is long.
class LiquidationFeatures {
public:
    static constexpr InputKind input = InputKind::Derivatives;

    static std::expected<LiquidationFeatures, CoreError> create() { return LiquidationFeatures{}; }

    std::optional<std::array<double, 5>> update(const DerivativesTick& t) {
        const double l = t.long_liquidation;
        const double s = t.short_liquidation;
        const double total = l + s;
        const double imbalance = total == 0.0 ? 0.0 : (l - s) / total;
        return std::array<double, 5>{l, s, l - s, total, imbalance};
    }

    std::size_t warmup_period() const { return 1; }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(LiquidationFeatures, LiquidationFeatures::create())
