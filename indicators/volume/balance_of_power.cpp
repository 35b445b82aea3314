#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// (close − open)/(high − low), 0 over an empty range.
class BalanceOfPower {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<BalanceOfPower, CoreError> create() { return BalanceOfPower(); }

    std::optional<double> update(const Candle& c) {
        const double range = c.high - c.low;
        if (range == 0.0) return 0.0;
        if (std::isfinite(range)) [[likely]] return (c.close - c.open) / range;
        // The body is bounded by the range, so the halves give the same ratio without overflow.
        return (c.close * 0.5 - c.open * 0.5) / (c.high * 0.5 - c.low * 0.5);
    }

    std::size_t warmup_period() const { return 1; }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(BalanceOfPower, ostrel::BalanceOfPower::create())
