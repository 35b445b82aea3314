#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/anchored_moments.hpp"
#include "indicators/volatility/log_return_source.hpp"
#include "indicators/volatility/sample_variance.hpp"

namespace ostrel {
namespace {

// Sample deviation over M steps of the sample deviation of the last N log returns.
class VolatilityOfVolatility {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<VolatilityOfVolatility, CoreError> create(std::uint64_t period, std::uint64_t outer) {
        if (auto e = period_error(period, outer)) return std::unexpected(*e);
        if (period < 2 || outer < 2)
            return std::unexpected(CoreError::invalid_period("vol-of-vol windows must both be >= 2"));
        return VolatilityOfVolatility(period, outer);
    }

    std::optional<double> update(double x) {
        const std::optional<double> r = returns_.push(x);
        if (!r) return std::nullopt;
        returns_window_.push(*r);
        if (!returns_window_.full()) return std::nullopt;
        sigmas_.push(std::sqrt(sample_variance(returns_window_)));
        if (!sigmas_.full()) return std::nullopt;
        return std::sqrt(sample_variance(sigmas_));
    }

    std::size_t warmup_period() const { return returns_window_.period() + sigmas_.period(); }

private:
    VolatilityOfVolatility(std::size_t period, std::size_t outer) : returns_window_(period), sigmas_(outer) {}

    LogReturnSource returns_;
    AnchoredMoments returns_window_;
    AnchoredMoments sigmas_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(VolatilityOfVolatility, ostrel::VolatilityOfVolatility::create(p.count(0), p.count(1)))
