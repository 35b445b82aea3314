#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Whistler wave activity: how large the N-bar change is against its own recent power.
class WavePm {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<WavePm, CoreError> create(std::uint64_t n, std::uint64_t m) {
        if (auto e = period_error(n, m)) return std::unexpected(*e);
        if (n >= MAX_PERIOD) return std::unexpected(CoreError::invalid_period(MAX_PERIOD_MESSAGE));
        return WavePm(n, m);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        const std::size_t n = closes_.capacity() - 1;
        // The close N steps back, before x goes in; nothing changes when d² overflows.
        double q = 0.0;
        const bool ready = closes_.size() >= n;
        if (ready) {
            const double d = x - closes_[closes_.size() - n];
            q = d * d;
            if (!std::isfinite(q)) return std::nullopt;
        }
        closes_.push(x);
        if (!ready) return std::nullopt;
        const auto v = power_.push(q);
        if (!v) return std::nullopt;
        const double u = *v > 0.0 ? 1.0 - std::exp(-q / (2.0 * *v)) : 0.0;
        if (!std::isfinite(u)) return std::nullopt;
        const auto w = activity_.push(u);
        if (!w) return std::nullopt;
        return 100.0 * *w;
    }
    std::size_t warmup_period() const {
        return 2 * power_.period() + activity_.period() - 1;
    }

private:
    WavePm(std::uint64_t n, std::uint64_t m) : closes_(n + 1), power_(n), activity_(m) {}
    RingWindow<double> closes_;
    ExpSmoother power_, activity_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(WavePm, ostrel::WavePm::create(p.count(0), p.count(1)))
