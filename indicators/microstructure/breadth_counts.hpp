#pragma once

#include <algorithm>
#include <cstddef>

#include "indicators/core/records.hpp"

namespace ostrel {

// The counts of one cross-section that the breadth members read.
struct BreadthCounts {
    double advancers = 0.0;
    double decliners = 0.0;
    double up_volume = 0.0;
    double down_volume = 0.0;
    double new_highs = 0.0;
    double new_lows = 0.0;
    double above_ma = 0.0;
    double bullish = 0.0;
    double members = 0.0;
};

inline BreadthCounts count_breadth(const CrossSection& s) {
    BreadthCounts c;
    for (const CrossSectionMember& m : s.members) {
        if (m.change > 0.0) {
            c.advancers += 1.0;
            c.up_volume += m.volume;
        } else if (m.change < 0.0) {
            c.decliners += 1.0;
            c.down_volume += m.volume;
        }
        if (m.new_high) c.new_highs += 1.0;
        if (m.new_low) c.new_lows += 1.0;
        if (m.above_ma) c.above_ma += 1.0;
        if (m.bullish) c.bullish += 1.0;
    }
    c.members = static_cast<double>(s.members.size());
    return c;
}

inline double advance_decline_net(const CrossSection& s) {
    const BreadthCounts c = count_breadth(s);
    return c.advancers - c.decliners;
}

inline double up_down_volume_net(const CrossSection& s) {
    const BreadthCounts c = count_breadth(s);
    return c.up_volume - c.down_volume;
}

// Share of members carrying a flag, in percent (sections always have members).
inline double percent_of_members(double flagged, const BreadthCounts& c) { return 100.0 * flagged / c.members; }

// Fast (0.1) and slow (0.05) averages of the McClellan breadth ratio, both starting at the
// first ratio; push returns fast − slow.
class McClellanAverages {
public:
    double push(const CrossSection& s) {
        const BreadthCounts c = count_breadth(s);
        const double total = c.advancers + c.decliners;
        const double r = total > 0.0 ? 1000.0 * (c.advancers - c.decliners) / total : 0.0;
        if (!started_) {
            fast_ = r;
            slow_ = r;
            started_ = true;
        } else {
            fast_ += 0.1 * (r - fast_);
            slow_ += 0.05 * (r - slow_);
        }
        return fast_ - slow_;
    }

private:
    double fast_ = 0.0;
    double slow_ = 0.0;
    bool started_ = false;
};

}  // namespace ostrel
