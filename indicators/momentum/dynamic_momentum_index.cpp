#include <algorithm>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/anchored_moments.hpp"
#include "indicators/rolling/ring_window.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// An RSI of plain sums over the newest L changes, L = N scaled by the ratio of the average
// five-close volatility to the current one, kept within [5, 30].
class DynamicMomentumIndex {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<DynamicMomentumIndex, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return DynamicMomentumIndex(n);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        if (has_prev_) {
            const double d = x - prev_;
            if (!std::isfinite(d)) return std::nullopt;
            changes_.push(d);
        }
        prev_ = x;
        has_prev_ = true;
        closes_.push(x);
        if (!closes_.full()) return std::nullopt;
        const double sigma = closes_.stddev();
        sigmas_.push(sigma);
        if (!sigmas_.full() || !changes_.full()) return std::nullopt;
        const double mean_sigma = sigmas_.mean();
        std::size_t length = kMaxLength;
        if (sigma > 0.0 && mean_sigma > 0.0) {
            // Clamped as a double first: the ratio can be huge or infinite.
            const double l = std::round(n_ * mean_sigma / sigma);
            length = static_cast<std::size_t>(std::clamp(l, 5.0, static_cast<double>(kMaxLength)));
        }
        double gains = 0.0;
        double losses = 0.0;
        for (std::size_t i = kMaxLength - length; i < kMaxLength; ++i) {
            const double d = changes_[i];
            if (d > 0.0) gains += d;
            else if (d < 0.0) losses -= d;
        }
        const double s = gains + losses;
        return s == 0.0 ? 50.0 : 100.0 * gains / s;
    }

    std::size_t warmup_period() const { return kMaxLength + 1; }

private:
    static constexpr std::size_t kMaxLength = 30;

    explicit DynamicMomentumIndex(std::uint64_t n)
        : n_(static_cast<double>(n)), closes_(5), sigmas_(10, 16), changes_(kMaxLength) {}

    double n_;
    AnchoredMoments closes_;
    RunningSum sigmas_;
    RingWindow<double> changes_;
    double prev_ = 0.0;
    bool has_prev_ = false;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(DynamicMomentumIndex, ostrel::DynamicMomentumIndex::create(p.count(0)))
