#pragma once

#include <array>
#include <cstddef>
#include <expected>
#include <optional>
#include <utility>

#include "indicators/bands/swing_tracker.hpp"
#include "indicators/core/indicator.hpp"

namespace ostrel {

// A parameterless tool on the newest swing pivots: `Rule::kept` pivots are held, nothing is
// returned until `Rule::needed` of them exist, then `Rule::of(tracker)` on every candle.
template <class Rule>
class SwingLevels {
public:
    static constexpr InputKind input = InputKind::Candle;
    using Outputs = decltype(Rule::of(std::declval<const SwingTracker&>()));

    static std::expected<SwingLevels, CoreError> create() { return SwingLevels(); }

    std::optional<Outputs> update(const Candle& c) {
        tracker_.push(c.high, c.low);
        if (tracker_.size() < Rule::needed) return std::nullopt;
        return Rule::of(tracker_);
    }

    // The tracker confirms at most one pivot per candle, and none on the first.
    std::size_t warmup_period() const { return Rule::needed + 1; }

private:
    SwingTracker tracker_{SWING_THRESHOLD, Rule::kept};
};

// base + r·span for each ratio r, in ratio order.
template <std::size_t K>
std::array<double, K> ratio_levels(double base, double span, const std::array<double, K>& ratios) {
    std::array<double, K> out;
    for (std::size_t i = 0; i < K; ++i) out[i] = base + ratios[i] * span;
    return out;
}

inline constexpr std::array<double, 7> RETRACEMENT_RATIOS{0.0, 0.236, 0.382, 0.5, 0.618, 0.786, 1.0};
inline constexpr std::array<double, 3> INNER_RATIOS{0.382, 0.5, 0.618};

// The seven retracement levels of a leg, from the newer pivot (level 0) back to the older (1).
inline std::array<double, 7> retracement(const SwingPivot& older, const SwingPivot& newer) {
    return ratio_levels(newer.price, older.price - newer.price, RETRACEMENT_RATIOS);
}

// older + r·(newer − older)·scale for r = 0.382, 0.5, 0.618, with the newest two pivots.
inline std::array<double, 3> sweep_levels(const SwingTracker& t, double scale) {
    const double l = t.recent(1).price;
    const double h = t.recent(0).price;
    std::array<double, 3> out;
    for (std::size_t i = 0; i < 3; ++i) out[i] = l + INNER_RATIOS[i] * (h - l) * scale;
    return out;
}

// Bars since the older of the newest two pivots, in units of the bars between them (> 1:
// a pivot is confirmed only after its own bar).
inline double leg_time(const SwingTracker& t) {
    const SwingPivot& older = t.recent(1);
    return static_cast<double>(t.bar_index() - older.index) /
           static_cast<double>(t.recent(0).index - older.index);
}

}  // namespace ostrel
