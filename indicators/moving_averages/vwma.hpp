#pragma once

#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/period.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {

// Volume-weighted average of the last N closes; the plain average when no volume traded.
class Vwma {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<Vwma, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return Vwma(period);
    }

    std::optional<double> update(const Candle& c) { return push(c.close, c.volume); }

    // For callers that feed (close, volume) pairs; a non-finite one changes nothing, so
    // both windows stay aligned.
    std::optional<double> push(double close, double volume) {
        if (!std::isfinite(close) || !std::isfinite(volume)) return std::nullopt;
        const double cv = close * volume;
        if (closes_.full()) {
            const double old = closes_.window().oldest() * volumes_.window().oldest();
            weighted_ = cv + (weighted_ - old);
        } else {
            weighted_ = cv + weighted_;
        }
        closes_.push(close);
        volumes_.push(volume);
        // The volume sum has just been re-added exactly; re-add its companion with it.
        if (volumes_.pushes_since_resum() == 0) resum_weighted();
        if (!closes_.full()) return std::nullopt;
        // A window of zero volumes sums to exactly 0, never to a residue that would divide.
        const double total = volumes_.sum();
        if (total > 0.0) return weighted_ / total;
        return closes_.mean();
    }

    std::size_t warmup_period() const { return closes_.period(); }

private:
    explicit Vwma(std::size_t n) : closes_(n, 1), volumes_(n, 1) {}

    void resum_weighted() {
        weighted_ = 0.0;
        for (std::size_t i = 0; i < closes_.size(); ++i)
            weighted_ += closes_.window()[i] * volumes_.window()[i];
    }

    RunningSum closes_;
    RunningSum volumes_;
    double weighted_ = 0.0;  // Σ close·volume over the same window
};

}  // namespace ostrel
