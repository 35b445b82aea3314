#pragma once

#include <algorithm>
#include <cmath>

#include "indicators/rolling/extremes.hpp"

namespace ostrel {

// Acceleration settings of one side of a parabolic stop.
struct SarAcceleration {
    double init;
    double step;
    double max;
};

// The parabolic stop and reverse: the SAR closes in on the trend's extreme point (EP) by the
// acceleration factor AF, which grows by a step at every new extreme up to its maximum,
// without entering the ranges of the two previous candles; a candle reaching the SAR
// reverses the position at the old EP, pushed out by the offset. The first candle is only
// stored; the second opens the position.
class ParabolicSar {
public:
    enum class Opening {
        // The opening SAR takes its first step on the second candle at once, clamped by that
        // candle's own range; the third candle clamps with the first two.
        Step,
        // The opening SAR stands unless the second candle reaches it, which reverses it; the
        // third candle clamps with the second candle in both roles.
        Stand,
    };

    // A start of 0 opens on the side of the larger move between the first two candles, at
    // the first candle's far extreme; otherwise long at `start` when positive, short at
    // |start| when negative.
    ParabolicSar(Opening opening, double start, SarAcceleration up, SarAcceleration down, double offset)
        : opening_(opening), start_(start), up_(up), down_(down), offset_(offset) {}

    // False on the first candle, which has no SAR yet.
    bool push(HighLow c) {
        switch (seen_) {
            case 0:
                seen_ = 1;
                prev_ = c;
                return false;
            case 1:
                seen_ = 2;
                open(c);
                break;
            default:
                advance(c, prev_, prev2_);
                prev2_ = prev_;
        }
        prev_ = c;
        return true;
    }

    bool is_long() const { return long_; }
    // The level itself, positive for positive prices on either side.
    double sar() const { return sar_; }

private:
    void open(HighLow c) {
        if (start_ != 0.0) {
            enter(start_ > 0.0, std::fabs(start_), c);
        } else {
            // Short only on a down move that is positive and larger than the up move.
            const double down = prev_.low - c.low;
            const double up = c.high - prev_.high;
            const bool go_long = !(down > up && down > 0.0);
            enter(go_long, go_long ? prev_.low : prev_.high, c);
        }
        if (opening_ == Opening::Step) {
            advance(c, c, c);
            prev2_ = prev_;
        } else {
            if (reached(c)) reverse(c);
            prev2_ = c;
        }
    }

    // A position at `sar` whose EP is the candle's extreme on the trend's side.
    void enter(bool go_long, double sar, HighLow c) {
        long_ = go_long;
        sar_ = sar;
        ep_ = go_long ? c.high : c.low;
        af_ = go_long ? up_.init : down_.init;
    }

    bool reached(HighLow c) const { return long_ ? c.low <= sar_ : c.high >= sar_; }

    // Restarts on the other side at the old EP, widened to the extremes of this and the
    // previous candle and pushed out by the offset.
    void reverse(HighLow c) {
        if (long_) {
            const double m = std::max({ep_, prev_.high, c.high});
            enter(false, m + std::fabs(m) * offset_, c);
        } else {
            const double m = std::min({ep_, prev_.low, c.low});
            enter(true, m - std::fabs(m) * offset_, c);
        }
    }

    // One step on candle c, clamped by the ranges of candles a and b.
    void advance(HighLow c, HighLow a, HighLow b) {
        const double next = sar_ + af_ * (ep_ - sar_);
        sar_ = long_ ? std::min({next, a.low, b.low}) : std::max({next, a.high, b.high});
        if (reached(c)) {
            reverse(c);
        } else if (long_ && c.high > ep_) {
            ep_ = c.high;
            af_ = std::min(af_ + up_.step, up_.max);
        } else if (!long_ && c.low < ep_) {
            ep_ = c.low;
            af_ = std::min(af_ + down_.step, down_.max);
        }
    }

    Opening opening_;
    double start_;
    SarAcceleration up_;
    SarAcceleration down_;
    double offset_;
    int seen_ = 0;  // candles, counted up to 2
    HighLow prev_{};
    HighLow prev2_{};
    bool long_ = true;
    double sar_ = 0.0;
    double ep_ = 0.0;
    double af_ = 0.0;
};

}  // namespace ostrel
