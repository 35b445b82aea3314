#include <algorithm>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/running_sum.hpp"
#include "indicators/volatility/log_return_source.hpp"

namespace ostrel {
namespace {

// Square root of the sum of the last N squared log returns; not annualised.
class RealizedVolatility {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<RealizedVolatility, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return RealizedVolatility(period);
    }

    std::optional<double> update(double x) {
        const std::optional<double> r = returns_.push(x);
        if (!r) return std::nullopt;
        squares_.push(*r * *r);
        if (!squares_.full()) return std::nullopt;
        return std::sqrt(std::max(squares_.sum(), 0.0));
    }

    std::size_t warmup_period() const { return squares_.period() + 1; }

private:
    explicit RealizedVolatility(std::size_t period) : squares_(period) {}

    LogReturnSource returns_;
    RunningSum squares_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(RealizedVolatility, ostrel::RealizedVolatility::create(p.count(0)))
