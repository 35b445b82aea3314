#include <expected>

#include "indicators/bands/true_range.hpp"
#include "indicators/core/catalogue.hpp"
#include "indicators/sequential/td_setup_levels.hpp"

namespace ostrel {
namespace {

// Risk levels one true range beyond a completed setup run's extreme: below the buy run's
// lowest low, above the sell run's highest high, each with the range of the bar that made it.
class TdRiskLevel {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<TdRiskLevel, CoreError> create(std::uint64_t lookback, std::uint64_t length) {
        auto levels = TdSetupLevels::create(lookback, length);
        if (!levels) return std::unexpected(levels.error());
        return TdRiskLevel(*levels);
    }

    std::optional<std::array<double, 2>> update(const Candle& k) {
        // Every accepted candle advances the range, the ones filling the window too.
        const double tr = range_.push(k.high, k.low, k.close);
        return levels_.push(k, TdRunPick{-k.low, k.low - tr}, TdRunPick{k.high, k.high + tr});
    }

    std::size_t warmup_period() const { return levels_.warmup_period(); }

private:
    explicit TdRiskLevel(TdSetupLevels levels) : levels_(levels) {}
    TdSetupLevels levels_;
    TrueRange range_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TdRiskLevel, TdRiskLevel::create(p.count(0), p.count(1)))
