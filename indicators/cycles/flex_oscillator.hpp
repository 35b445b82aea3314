#pragma once

#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/period.hpp"
#include "indicators/cycles/super_smoother.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {

// The reflex and trendflex oscillators: the deviation D of the last N + 1 super-smoothed
// closes (period N/2), as d = D/N over the root of its running mean square.
//   Reflex: deviations of the older values from the line joining the newest and oldest;
//   Trendflex: the newest value less each older one.
enum class FlexKind { Reflex, Trendflex };

template <FlexKind Kind>
class FlexOscillator {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<FlexOscillator, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        if (n >= MAX_PERIOD) return std::unexpected(CoreError::invalid_period(MAX_PERIOD_MESSAGE));
        return FlexOscillator(n);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        window_.push(smoother_.push(x));
        if (!window_.full()) return std::nullopt;
        const std::size_t n = window_.capacity() - 1;
        const double nd = static_cast<double>(n);
        const double f0 = window_.newest(), fn = window_.oldest();
        double sum = 0.0;
        for (std::size_t i = 1; i <= n; ++i) {
            const double fi = window_[n - i];
            if constexpr (Kind == FlexKind::Reflex)
                sum += f0 + static_cast<double>(i) * (fn - f0) / nd - fi;
            else
                sum += f0 - fi;
        }
        const double d = sum / nd;
        ms_ = 0.96 * ms_ + 0.04 * d * d;
        if (ms_ <= 0.0) return 0.0;
        return d / std::sqrt(ms_);
    }
    std::size_t warmup_period() const { return window_.capacity(); }

private:
    explicit FlexOscillator(std::uint64_t n)
        : smoother_(0.5 * static_cast<double>(n)), window_(n + 1) {}
    SuperSmootherStage smoother_;
    RingWindow<double> window_;
    double ms_ = 0.0;
};

}  // namespace ostrel
