#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <expected>
#include <optional>

#include "indicators/core/indicator.hpp"
#include "indicators/cycles/hilbert_core.hpp"

namespace ostrel {

// The MESA adaptive average and its following average on a HilbertCore phase.
class MamaLines {
public:
    static constexpr InputKind input = InputKind::Close;
    static constexpr std::size_t warmup = 33;

    static std::expected<MamaLines, CoreError> create(double fast_limit, double slow_limit) {
        if (!(std::isfinite(fast_limit) && std::isfinite(slow_limit) && 0.0 < slow_limit &&
              slow_limit <= fast_limit && fast_limit <= 1.0))
            return std::unexpected(CoreError::invalid_period(
                "fast_limit, slow_limit must satisfy 0 < slow_limit <= fast_limit <= 1"));
        return MamaLines(fast_limit, slow_limit);
    }

    // {mama, fama} from the 33rd close on.
    std::optional<std::array<double, 2>> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        const HilbertCore::Stage stage = core_.push(x);
        phase_prev_ = phase_;
        if (stage >= HilbertCore::Stage::Phasor && std::fabs(core_.inphase()) > 2.220446049250313e-16)
            phase_ = std::atan(core_.quadrature() / core_.inphase()) * 57.29577951308232;
        if (stage == HilbertCore::Stage::Smoothed) {
            mama_ = fama_ = core_.smooth();
        } else if (stage == HilbertCore::Stage::Homodyne) {
            const double delta = std::max(phase_prev_ - phase_, 1.0);
            const double alpha = std::max(fast_limit_ / delta, slow_limit_);
            // A line already equal to its input stays exact.
            if (x != mama_) mama_ = (1.0 - alpha) * mama_ + alpha * x;
            if (mama_ != fama_) fama_ = (1.0 - 0.5 * alpha) * fama_ + 0.5 * alpha * mama_;
        }
        if (core_.closes() < warmup) return std::nullopt;
        return std::array<double, 2>{mama_, fama_};
    }
    std::size_t warmup_period() const { return warmup; }

private:
    MamaLines(double fast_limit, double slow_limit) : fast_limit_(fast_limit), slow_limit_(slow_limit) {}

    HilbertCore core_;
    double fast_limit_, slow_limit_;
    double phase_ = 0.0, phase_prev_ = 0.0;
    double mama_ = 0.0, fama_ = 0.0;
};

}  // namespace ostrel
