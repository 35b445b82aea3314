#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <optional>

#include "indicators/cycles/hilbert_core.hpp"
#include "indicators/rolling/flat_run.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {

// The dominant-cycle phase in degrees over the last L = round(SP) smoothed prices of a
// HilbertCore, from the 50th close on.
class DominantCyclePhase {
public:
    static constexpr std::size_t warmup = 50;

    // The phase once 50 closes have been seen.
    std::optional<double> push(double x) {
        if (core_.push(x) >= HilbertCore::Stage::Smoothed) {
            smooth_.push(core_.smooth());
            flat_.push(core_.smooth());
        }
        if (core_.closes() < warmup) return std::nullopt;
        const double sp = core_.smooth_period();
        std::size_t l = static_cast<std::size_t>(std::floor(sp + 0.5));
        l = std::max<std::size_t>(1, std::min(l, smooth_.size()));
        length_ = l;
        double real = 0.0, imag = 0.0;
        // Equal prices over a whole cycle sum to exactly zero, not to rounding residue.
        if (l < 2 || !flat_.covers(l)) {
            const Table& t = table();
            const std::size_t base = (l - 1) * l / 2;
            const std::size_t n = smooth_.size();
            for (std::size_t j = 0; j < l; ++j) {
                const double s = smooth_[n - 1 - j];
                real += s * t.sin[base + j];
                imag += s * t.cos[base + j];
            }
        }
        double phase;
        if (std::fabs(imag) > 0.001) phase = std::atan(real / imag) * 57.29577951308232 + 90.0;
        else phase = real < 0.0 ? 0.0 : 180.0;
        phase += 360.0 / sp;
        if (imag < 0.0) phase += 180.0;
        if (phase > 315.0) phase -= 360.0;
        return phase;
    }

    const HilbertCore& core() const { return core_; }
    // L of the latest phase.
    std::size_t length() const { return length_; }

private:
    // sin(2πj/L) and cos(2πj/L) for L = 1 … 50, j < L, L's run starting at (L − 1)·L/2.
    struct Table {
        std::array<double, 1275> sin{}, cos{};
    };
    static const Table& table() {
        static const Table t = [] {
            Table r;
            for (std::size_t l = 1, k = 0; l <= warmup; ++l)
                for (std::size_t j = 0; j < l; ++j, ++k) {
                    const double a = 2.0 * std::numbers::pi * static_cast<double>(j) / static_cast<double>(l);
                    r.sin[k] = std::sin(a);
                    r.cos[k] = std::cos(a);
                }
            return r;
        }();
        return t;
    }

    HilbertCore core_;
    RingWindow<double> smooth_{warmup};
    FlatRun flat_;
    std::size_t length_ = 1;
};

}  // namespace ostrel
