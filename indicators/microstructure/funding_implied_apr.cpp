#include <cmath>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/indicator.hpp"

namespace ostrel {
namespace {

// Funding rate annualised by the number of funding intervals in a year.
class FundingImpliedApr {
public:
    static constexpr InputKind input = InputKind::Derivatives;

    static std::expected<FundingImpliedApr, CoreError> create(double intervals_per_year) {
        if (!std::isfinite(intervals_per_year) || !(intervals_per_year > 0.0))
            return std::unexpected(CoreError::invalid_parameter("intervals_per_year must be finite and positive"));
        return FundingImpliedApr(intervals_per_year);
    }

    std::optional<double> update(const DerivativesTick& t) { return t.funding_rate * k_; }

    std::size_t warmup_period() const { return 1; }

private:
    explicit FundingImpliedApr(double k) : k_(k) {}
    double k_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(FundingImpliedApr, FundingImpliedApr::create(p.real(0)))
