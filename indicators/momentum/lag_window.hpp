#pragma once

#include <cstdint>
#include <optional>

#include "indicators/core/period.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {

// The value `lag` accepted pushes back, from a ring of lag + 1 values.
class LagWindow {
public:
    // The lag must be positive and the ring of lag + 1 values no longer than MAX_PERIOD.
    static std::optional<CoreError> check(std::uint64_t lag) {
        if (auto e = period_error(lag)) return e;
        if (lag >= MAX_PERIOD) return CoreError::invalid_period(MAX_PERIOD_MESSAGE);
        return std::nullopt;
    }

    // 1 ≤ lag < MAX_PERIOD, checked by the caller.
    explicit LagWindow(std::uint64_t lag) : ring_(static_cast<std::size_t>(lag) + 1) {}

    // Takes a finite value; returns the lagged one once the ring is full.
    std::optional<double> push(double x) {
        ring_.push(x);
        if (!ring_.full()) return std::nullopt;
        return ring_.oldest();
    }

    std::uint64_t lag() const { return ring_.capacity() - 1; }

private:
    RingWindow<double> ring_;
};

// Percentage change from p to x, 0 from a base of 0.
inline double rate_of_change(double x, double p) { return p == 0.0 ? 0.0 : (x - p) / p * 100.0; }

}  // namespace ostrel
