#pragma once

#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/period.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {

// Zero-lag average: an EMA(N) of 2·x − (the close L = ⌊(N − 1)/2⌋ steps back).
class Zlema {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Zlema, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return Zlema(period);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        closes_.push(x);
        if (!closes_.full()) return std::nullopt;
        const double delagged = std::fma(x, 2.0, -closes_.oldest());
        return smoother_.push(delagged);  // a non-finite value is not taken in
    }

    // L + N: the ring of L + 1 closes fills, then the smoother needs N values.
    std::size_t warmup_period() const { return closes_.capacity() - 1 + smoother_.period(); }

private:
    explicit Zlema(std::uint64_t n) : closes_((n - 1) / 2 + 1), smoother_(n) {}
    RingWindow<double> closes_;
    ExpSmoother smoother_;
};

}  // namespace ostrel
