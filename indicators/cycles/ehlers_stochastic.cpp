#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/cycles/roofing_filter.hpp"
#include "indicators/rolling/extremes.hpp"
#include "indicators/rolling/midpoint.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Stochastic of the roofed close (48-bar high-pass, 10-bar smoother) over N, on [−1, 1].
class EhlersStochastic {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<EhlersStochastic, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        auto roof = RoofingFilter::create(10, 48);
        if (!roof) return std::unexpected(roof.error());
        return EhlersStochastic(n, *roof);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        const auto f = roof_.update(x);
        if (!f) return std::nullopt;
        window_.push(*f);
        if (!window_.full()) return std::nullopt;
        const double lo = window_min(window_), hi = window_max(window_);
        const double v = hi - lo > 0.0 ? 2.0 * (*f - lo) / (hi - lo) - 1.0 : 0.0;
        const double value = started_ ? midpoint(v, v1_) : v;
        started_ = true;
        v1_ = v;
        return value;
    }
    std::size_t warmup_period() const { return window_.capacity(); }

private:
    EhlersStochastic(std::uint64_t n, RoofingFilter roof) : roof_(roof), window_(n) {}
    RoofingFilter roof_;
    RingWindow<double> window_;
    double v1_ = 0.0;
    bool started_ = false;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(EhlersStochastic, ostrel::EhlersStochastic::create(p.count(0)))
