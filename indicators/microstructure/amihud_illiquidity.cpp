#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// Mean absolute log return per unit of traded value over the last N trades of non-zero size.
class AmihudIlliquidity {
public:
    static constexpr InputKind input = InputKind::Trades;

    static std::expected<AmihudIlliquidity, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return AmihudIlliquidity(period);
    }

    std::optional<double> update(const TradePrint& t) {
        // A zero-size trade carries no price impact: it changes nothing and repeats the last value.
        if (t.size == 0.0) return last_;
        const std::optional<double> previous = previous_;
        previous_ = t.price;
        if (!previous) return std::nullopt;
        sum_.push(std::fabs(std::log(t.price / *previous)) / (t.price * t.size));
        if (!sum_.full()) return std::nullopt;
        last_ = sum_.mean();
        return last_;
    }

    std::size_t warmup_period() const { return sum_.period() + 1; }

private:
    explicit AmihudIlliquidity(std::size_t n) : sum_(n) {}
    std::optional<double> previous_;
    std::optional<double> last_;
    RunningSum sum_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(AmihudIlliquidity, AmihudIlliquidity::create(p.count(0)))
