#include <expected>

#include "indicators/core/catalogue.hpp"
#include "indicators/sequential/td_setup_levels.hpp"

namespace ostrel {
namespace {

// Resistance at the highest high of a completed buy setup's run, support at the lowest low of
// a completed sell setup's run.
class TdLines {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<TdLines, CoreError> create(std::uint64_t lookback, std::uint64_t length) {
        auto levels = TdSetupLevels::create(lookback, length);
        if (!levels) return std::unexpected(levels.error());
        return TdLines(*levels);
    }

    std::optional<std::array<double, 2>> update(const Candle& k) {
        return levels_.push(k, TdRunPick{k.high, k.high}, TdRunPick{-k.low, k.low});
    }

    std::size_t warmup_period() const { return levels_.warmup_period(); }

private:
    explicit TdLines(TdSetupLevels levels) : levels_(levels) {}
    TdSetupLevels levels_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TdLines, TdLines::create(p.count(0), p.count(1)))
