#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <numbers>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/cycles/super_smoother.hpp"

namespace ostrel {
namespace {

// Mean of the last three smoothed high-pass values over their root mean square.
class EvenBetterSinewave {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<EvenBetterSinewave, CoreError> create(std::uint64_t n, std::uint64_t m) {
        if (n == 0 || m == 0) return std::unexpected(CoreError::zero_period());
        if (auto e = period_error(n, m)) return std::unexpected(*e);
        return EvenBetterSinewave(n, m);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        const double hp = count_ > 0 ? (x - x1_) * (1.0 + alpha_) / 2.0 + alpha_ * hp1_ : 0.0;
        x1_ = x;
        hp1_ = hp;
        f2_ = f1_;
        f1_ = f0_;
        f0_ = smoother_.push(hp);
        if (count_ < 2) {
            ++count_;
            return std::nullopt;
        }
        const double pwr = (f0_ * f0_ + f1_ * f1_ + f2_ * f2_) / 3.0;
        if (pwr <= 0.0) return 0.0;
        return std::clamp(((f0_ + f1_ + f2_) / 3.0) / std::sqrt(pwr), -1.0, 1.0);
    }
    std::size_t warmup_period() const { return 3; }

private:
    EvenBetterSinewave(std::uint64_t n, std::uint64_t m) : smoother_(static_cast<double>(m)) {
        const double w = 2.0 * std::numbers::pi / static_cast<double>(n);
        alpha_ = (1.0 - std::sin(w)) / std::cos(w);
    }
    SuperSmootherStage smoother_;
    double alpha_ = 0.0;
    double x1_ = 0.0, hp1_ = 0.0, f0_ = 0.0, f1_ = 0.0, f2_ = 0.0;
    std::size_t count_ = 0;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(EvenBetterSinewave, ostrel::EvenBetterSinewave::create(p.count(0), p.count(1)))
