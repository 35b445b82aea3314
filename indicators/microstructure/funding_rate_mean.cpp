#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

class FundingRateMean {
public:
    static constexpr InputKind input = InputKind::Derivatives;

    static std::expected<FundingRateMean, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return FundingRateMean(period);
    }

    std::optional<double> update(const DerivativesTick& t) {
        sum_.push(t.funding_rate);
        if (!sum_.full()) return std::nullopt;
        return sum_.mean();
    }

    std::size_t warmup_period() const { return sum_.period(); }

private:
    explicit FundingRateMean(std::size_t n) : sum_(n) {}
    RunningSum sum_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(FundingRateMean, FundingRateMean::create(p.count(0)))
