#include <algorithm>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/ring_window.hpp"
#include "indicators/volatility/log_return_source.hpp"

namespace ostrel {
namespace {

// (π/2)·Σ|r_i·r_{i+1}| over the adjacent pairs of the last N log returns, rescanned each step.
class BipowerVariation {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<BipowerVariation, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 2) return std::unexpected(CoreError::invalid_period("bipower variation period must be >= 2"));
        return BipowerVariation(period);
    }

    std::optional<double> update(double x) {
        const std::optional<double> r = returns_.push(x);
        if (!r) return std::nullopt;
        window_.push(*r);
        if (!window_.full()) return std::nullopt;
        double sum = 0.0;
        double previous = window_.oldest();
        for (std::size_t i = 1; i < window_.size(); ++i) {
            const double current = window_[i];
            sum += std::fabs(previous * current);
            previous = current;
        }
        return 1.5707963267948966 * std::max(sum, 0.0);
    }

    std::size_t warmup_period() const { return window_.capacity() + 1; }

private:
    explicit BipowerVariation(std::size_t period) : window_(period) {}

    LogReturnSource returns_;
    RingWindow<double> window_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(BipowerVariation, ostrel::BipowerVariation::create(p.count(0)))
