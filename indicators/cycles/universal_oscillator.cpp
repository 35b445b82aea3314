#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/cycles/super_smoother.hpp"

namespace ostrel {
namespace {

// Smoothed two-bar half change over a slowly decaying peak of its magnitude.
class UniversalOscillator {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<UniversalOscillator, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return UniversalOscillator(n);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        const double x2 = x2_;
        x2_ = x1_;
        x1_ = x;
        if (count_ < 2) {
            ++count_;
            return std::nullopt;
        }
        const double f = smoother_.push((x - x2) / 2.0);
        peak_ = std::max(std::fabs(f), 0.991 * peak_);
        if (peak_ <= 0.0) return 0.0;
        return std::clamp(f / peak_, -1.0, 1.0);
    }
    std::size_t warmup_period() const { return 3; }

private:
    explicit UniversalOscillator(std::uint64_t n) : smoother_(static_cast<double>(n)) {}
    SuperSmootherStage smoother_;
    double x1_ = 0.0, x2_ = 0.0, peak_ = 0.0;
    std::size_t count_ = 0;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(UniversalOscillator, ostrel::UniversalOscillator::create(p.count(0)))
