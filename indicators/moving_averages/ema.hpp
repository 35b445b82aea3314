#pragma once

#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/period.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"

namespace ostrel {

// Exponential moving average, alpha 2/(N + 1), seeded with the simple average of N closes.
class Ema {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Ema, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return Ema(period);
    }

    std::optional<double> update(double x) { return smoother_.push(x); }

    std::size_t warmup_period() const { return smoother_.period(); }

private:
    explicit Ema(std::uint64_t n) : smoother_(n) {}
    ExpSmoother smoother_;
};

}  // namespace ostrel
