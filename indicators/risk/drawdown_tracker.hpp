#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/period.hpp"
#include "indicators/rolling/anchored_moments.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {

// What a walk over a level series found below its running peak.
struct DrawdownSummary {
    std::size_t steps = 0;
    double max_depth = 0.0;     // largest (peak − level)/peak
    double depth_sum = 0.0;     // Σ of the per-step depths
    double depth_sq_sum = 0.0;  // Σ depth²
    double pct_sq_sum = 0.0;    // Σ (100·(peak − level)/peak)²
    double episode_sum = 0.0;   // Σ of the episodes' depths
    std::size_t episodes = 0;

    double mean_episode() const { return episodes == 0 ? 0.0 : episode_sum / static_cast<double>(episodes); }
};

// Running peak over a level series. A step below the peak has depth (peak − level)/peak,
// counted only while the peak is positive; an episode runs from the first level below the
// peak to the first at or above it (the new peak) and is as deep as its trough.
class DrawdownTracker {
public:
    // Without a start peak the first level becomes the peak.
    DrawdownTracker() = default;
    explicit DrawdownTracker(double start_peak) : peak_(start_peak), has_peak_(true) {}

    void push(double level) {
        ++found_.steps;
        if (!has_peak_ || level >= peak_) {
            add_episode(found_);
            open_ = false;
            peak_ = level;
            has_peak_ = true;
            return;
        }
        if (!open_ || level < trough_) trough_ = level;
        open_ = true;
        if (peak_ > 0.0) {
            const double depth = (peak_ - level) / peak_;
            const double pct = 100.0 * (peak_ - level) / peak_;
            if (depth > found_.max_depth) found_.max_depth = depth;
            found_.depth_sum += depth;
            found_.depth_sq_sum += depth * depth;
            found_.pct_sq_sum += pct * pct;
        }
    }

    double max_depth() const { return found_.max_depth; }

    // The walk so far, an episode still open counted with its trough.
    DrawdownSummary summary() const {
        DrawdownSummary s = found_;
        add_episode(s);
        return s;
    }

private:
    // Episodes under a peak that is not positive have no depth and are not counted.
    void add_episode(DrawdownSummary& s) const {
        if (!open_ || !(peak_ > 0.0)) return;
        s.episode_sum += (peak_ - trough_) / peak_;
        ++s.episodes;
    }

    double peak_ = 0.0;
    double trough_ = 0.0;
    bool has_peak_ = false;
    bool open_ = false;
    DrawdownSummary found_;
};

// The window's values as levels, the peak running from the oldest.
inline DrawdownSummary level_drawdowns(const RingWindow<double>& levels) {
    DrawdownTracker t;
    levels.for_each([&](double v) { t.push(v); });
    return t.summary();
}

// The equity compounded from 1 by the window's returns, oldest first; the peak starts at 1.
inline DrawdownSummary compounded_drawdowns(const RingWindow<double>& returns) {
    DrawdownTracker t(1.0);
    double equity = 1.0;
    returns.for_each([&](double r) {
        equity = equity * (1.0 + r);
        t.push(equity);
    });
    return t.summary();
}

// A close-fed member that scans its window's drawdowns at every step. Rule supplies
// `min_period` with its `too_short` text and value(mean of the window, its summary); with
// `compounded` the window holds returns, otherwise levels.
template <class Rule>
class DrawdownMember {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<DrawdownMember, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < Rule::min_period) return std::unexpected(CoreError::invalid_period(Rule::too_short));
        return DrawdownMember(period);
    }

    std::optional<double> update(double x) {
        if (!window_.push(x) || !window_.full()) return std::nullopt;
        const RingWindow<double>& w = window_.window();
        return Rule::value(window_.mean(), Rule::compounded ? compounded_drawdowns(w) : level_drawdowns(w));
    }

    std::size_t warmup_period() const { return window_.period(); }

private:
    explicit DrawdownMember(std::size_t n) : window_(n) {}

    // Its mean serves the compounding members; the level members only walk its values.
    AnchoredMoments window_;
};

}  // namespace ostrel
