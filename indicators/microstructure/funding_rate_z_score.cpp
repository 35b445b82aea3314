#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/anchored_moments.hpp"

namespace ostrel {
namespace {

// Z-score of the funding rate against the last N rates, the current one included.
class FundingRateZScore {
public:
    static constexpr InputKind input = InputKind::Derivatives;

    static std::expected<FundingRateZScore, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return FundingRateZScore(period);
    }

    std::optional<double> update(const DerivativesTick& t) {
        moments_.push(t.funding_rate);
        if (!moments_.full()) return std::nullopt;
        const double variance = moments_.variance();
        if (variance == 0.0) return 0.0;
        return (t.funding_rate - moments_.mean()) / std::sqrt(variance);
    }

    std::size_t warmup_period() const { return moments_.period(); }

private:
    explicit FundingRateZScore(std::size_t n) : moments_(n) {}
    AnchoredMoments moments_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(FundingRateZScore, FundingRateZScore::create(p.count(0)))
