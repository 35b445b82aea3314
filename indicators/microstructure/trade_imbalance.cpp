#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// (B − S) / (B + S) over the buy and sell volume of the last N trades. The sums are re-added
// exactly every N trades, so a window of zero-size trades reads an exact 0.
class TradeImbalance {
public:
    static constexpr InputKind input = InputKind::Trades;

    static std::expected<TradeImbalance, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return TradeImbalance(period);
    }

    std::optional<double> update(const TradePrint& t) {
        const bool buy = t.side == Side::Buy;
        buys_.push(buy ? t.size : 0.0);
        sells_.push(buy ? 0.0 : t.size);
        if (!buys_.full()) return std::nullopt;
        const double b = buys_.sum();
        const double s = sells_.sum();
        const double total = b + s;
        if (!(total > 0.0)) return 0.0;
        return (b - s) / total;
    }

    std::size_t warmup_period() const { return buys_.period(); }

private:
    explicit TradeImbalance(std::size_t n) : buys_(n), sells_(n) {}
    RunningSum buys_;
    RunningSum sells_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TradeImbalance, TradeImbalance::create(p.count(0)))
