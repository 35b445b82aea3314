#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/extremes.hpp"
#include "indicators/rolling/midpoint.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Four-stage Laguerre filter whose alpha follows the median of its recent normalised
// tracking errors.
class AdaptiveLaguerreFilter {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<AdaptiveLaguerreFilter, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return AdaptiveLaguerreFilter(n);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        if (!started_) {
            started_ = true;
            l_ = {x, x, x, x};
            filt_ = x;
            return std::nullopt;
        }
        const double d = std::fabs(x - filt_);
        errors_.push(d);
        const double hh = window_max(errors_), ll = window_min(errors_);
        if (hh - ll > 0.0) {
            recent_.push((d - ll) / (hh - ll));
            alpha_ = median();
        }
        if (x == l_[0] && l_[0] == l_[1] && l_[1] == l_[2] && l_[2] == l_[3]) {
            // Settled on a constant: the stages would round away from it.
            filt_ = x;
        } else {
            const double g = 1.0 - alpha_;
            const std::array<double, 4> p = l_;
            l_[0] = g * p[0] + alpha_ * x;
            l_[1] = g * p[1] + p[0] - g * l_[0];
            l_[2] = g * p[2] + p[1] - g * l_[1];
            l_[3] = g * p[3] + p[2] - g * l_[2];
            filt_ = (l_[0] + 2.0 * l_[1] + 2.0 * l_[2] + l_[3]) / 6.0;
        }
        if (!errors_.full()) return std::nullopt;
        return filt_;
    }
    // As documented: the count of differences held, one less than the closes seen.
    std::size_t warmup_period() const { return errors_.capacity(); }

private:
    explicit AdaptiveLaguerreFilter(std::uint64_t n) : errors_(n) {}

    double median() const {
        std::array<double, 5> s{};
        const std::size_t n = recent_.size();
        for (std::size_t i = 0; i < n; ++i) s[i] = recent_[i];
        std::sort(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(n));
        return n % 2 == 1 ? s[n / 2] : midpoint(s[n / 2 - 1], s[n / 2]);
    }

    RingWindow<double> errors_;
    RingWindow<double> recent_{5};
    std::array<double, 4> l_{};
    double filt_ = 0.0, alpha_ = 1.0;
    bool started_ = false;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(AdaptiveLaguerreFilter, ostrel::AdaptiveLaguerreFilter::create(p.count(0)))
