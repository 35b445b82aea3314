#pragma once

#include <cmath>
#include <cstdint>
#include <expected>
#include <numbers>
#include <optional>

#include "indicators/core/period.hpp"
#include "indicators/cycles/super_smoother.hpp"

namespace ostrel {

// One-pole high-pass (hp_period) followed by a super smoother (lp_period).
class RoofingFilter {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<RoofingFilter, CoreError> create(std::uint64_t lp_period,
                                                          std::uint64_t hp_period) {
        if (lp_period == 0 || hp_period == 0) return std::unexpected(CoreError::zero_period());
        if (lp_period >= hp_period)
            return std::unexpected(
                CoreError::invalid_period("lp_period must be strictly less than hp_period"));
        if (auto e = period_error(lp_period, hp_period)) return std::unexpected(*e);
        return RoofingFilter(lp_period, hp_period);
    }

    // Nothing, and no change of state, when the high-pass overflows.
    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        double hp = 0.0;
        if (started_) hp = (1.0 - alpha_) * hp1_ + (1.0 - alpha_ / 2.0) * (x - x1_);
        if (!std::isfinite(hp)) return std::nullopt;
        started_ = true;
        x1_ = x;
        hp1_ = hp;
        return smoother_.push(hp);
    }

    std::size_t warmup_period() const { return 1; }

private:
    RoofingFilter(std::uint64_t lp_period, std::uint64_t hp_period)
        : smoother_(static_cast<double>(lp_period)) {
        const double w = 2.0 * std::numbers::pi / static_cast<double>(hp_period);
        alpha_ = (std::sin(w) + std::cos(w) - 1.0) / std::cos(w);
    }

    SuperSmootherStage smoother_;
    double alpha_ = 0.0;
    double x1_ = 0.0, hp1_ = 0.0;
    bool started_ = false;
};

}  // namespace ostrel
