#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <expected>
#include <optional>

#include "indicators/bands/swing_tracker.hpp"
#include "indicators/core/indicator.hpp"

namespace ostrel {

// The newest pivots a formation is judged on, oldest first (p[0] is P1).
template <std::size_t N>
using Pivots = std::array<SwingPivot, N>;

// A parameterless formation on the newest `Rule::pivots` swing pivots: nothing until that many
// exist, then on every candle 0, or `Rule::of(pivots)` on a candle that confirms a pivot.
template <class Rule>
class SwingPattern {
public:
    static constexpr InputKind input = InputKind::Candle;
    static constexpr std::size_t count = Rule::pivots;

    static std::expected<SwingPattern, CoreError> create() { return SwingPattern(); }

    std::optional<double> update(const Candle& c) {
        const bool confirmed = tracker_.push(c.high, c.low);
        if (tracker_.size() < count) return std::nullopt;
        if (!confirmed) return 0.0;
        Pivots<count> p;
        for (std::size_t i = 0; i < count; ++i) p[i] = tracker_[i];
        return Rule::of(p);
    }

    // The tracker confirms at most one pivot per candle, and none on the first.
    std::size_t warmup_period() const { return count + 1; }

private:
    SwingTracker tracker_{SWING_THRESHOLD, count};
};

struct RatioBounds {
    double lo;
    double hi;
};

// |num| / |den| within the inclusive bounds. A zero leg fails the test without a division
// (its ratio would be infinite or NaN).
inline bool ratio_within(double num, double den, RatioBounds b) {
    const double d = std::fabs(den);
    if (d == 0.0) return false;
    const double r = std::fabs(num) / d;
    return r >= b.lo && r <= b.hi;
}

// The leg from the i-th to the j-th pivot.
template <std::size_t N>
double leg(const Pivots<N>& p, std::size_t i, std::size_t j) {
    return p[j].price - p[i].price;
}

// u and v within a fraction f of each other; the smallest normal double keeps the bound
// positive when both are 0.
inline bool within(double u, double v, double f) {
    constexpr double tiny = 2.2250738585072014e-308;
    return std::fabs(u - v) <= f * std::fmax(std::fmax(std::fabs(u), std::fabs(v)), tiny);
}

// Harmonic sign: bullish when the formation completes on a swing low.
inline double completion_sign(const SwingPivot& newest) { return newest.kind > 0.0 ? -1.0 : 1.0; }

// Bounds of the four ratios of a five-point harmonic formation, tested in this order:
// |P3 − P2|/|P2 − P1|, |P4 − P3|/|P3 − P2|, |P5 − P4|/|P4 − P3|, |P5 − P2|/|P2 − P1|.
using HarmonicBounds = std::array<RatioBounds, 4>;

template <const HarmonicBounds& B>
struct HarmonicRule {
    static constexpr std::size_t pivots = 5;
    static double of(const Pivots<5>& p) {
        const bool all = ratio_within(leg(p, 1, 2), leg(p, 0, 1), B[0]) &&
                         ratio_within(leg(p, 2, 3), leg(p, 1, 2), B[1]) &&
                         ratio_within(leg(p, 3, 4), leg(p, 2, 3), B[2]) &&
                         ratio_within(leg(p, 1, 4), leg(p, 0, 1), B[3]);
        return all ? completion_sign(p[4]) : 0.0;
    }
};

// Earlier and later swing high and low of four alternating pivots.
struct Corners {
    double early_high, late_high, early_low, late_low;
};

inline Corners corners(const Pivots<4>& p) {
    // Pivots alternate, so the highs are P1, P3 or P2, P4.
    const std::size_t h = p[0].kind > 0.0 ? 0 : 1;
    const std::size_t l = 1 - h;
    return {p[h].price, p[h + 2].price, p[l].price, p[l + 2].price};
}

}  // namespace ostrel
