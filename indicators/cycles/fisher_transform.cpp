#include <algorithm>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/extremes.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

class FisherTransform {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<FisherTransform, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return FisherTransform(n);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        window_.push(x);
        if (!window_.full()) return std::nullopt;
        const double lo = window_min(window_), hi = window_max(window_);
        const double raw = hi - lo > 0.0 ? 2.0 * (x - lo) / (hi - lo) - 1.0 : 0.0;
        value_ = std::clamp(0.33 * raw + 0.67 * value_, -0.999, 0.999);
        fisher_ = 0.5 * std::log((1.0 + value_) / (1.0 - value_)) + 0.5 * fisher_;
        return fisher_;
    }
    std::size_t warmup_period() const { return window_.capacity(); }

private:
    explicit FisherTransform(std::uint64_t n) : window_(n) {}
    RingWindow<double> window_;
    double value_ = 0.0, fisher_ = 0.0;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(FisherTransform, ostrel::FisherTransform::create(p.count(0)))
