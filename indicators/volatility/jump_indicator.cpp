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

// +1 / −1 when a log return lies more than `threshold` sample deviations above / below the
// mean of the N returns before it, else 0.
class JumpIndicator {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<JumpIndicator, CoreError> create(std::uint64_t period, double threshold) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 2) return std::unexpected(CoreError::invalid_period("jump indicator needs period >= 2"));
        if (!(std::isfinite(threshold) && threshold > 0.0))
            return std::unexpected(
                CoreError::invalid_parameter("jump indicator threshold must be finite and positive"));
        return JumpIndicator(period, threshold);
    }

    std::optional<double> update(double x) {
        const std::optional<double> r = returns_.push(x);
        if (!r) return std::nullopt;
        std::optional<double> flag;
        if (window_.full()) flag = classify(*r);
        // Only now does the return join the reference window, so it never judges itself.
        window_.push(*r);
        return flag;
    }

    std::size_t warmup_period() const { return window_.period() + 2; }

private:
    JumpIndicator(std::size_t period, double threshold) : window_(period), threshold_(threshold) {}

    double classify(double r) const {
        const double sigma = std::sqrt(sample_variance(window_));
        if (sigma == 0.0) return 0.0;
        const double deviation = r - window_.mean();
        const double limit = threshold_ * sigma;
        if (deviation > limit) return 1.0;
        if (deviation < -limit) return -1.0;
        return 0.0;
    }

    LogReturnSource returns_;
    AnchoredMoments window_;
    double threshold_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(JumpIndicator, ostrel::JumpIndicator::create(p.count(0), p.real(1)))
