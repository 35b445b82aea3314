#pragma once

#include "indicators/volume/cumulative_line.hpp"

namespace ostrel {

// Which volume change lets the index follow the close.
enum class VolumeShift { Falling, Rising };

// Negative (Falling) or positive (Rising) volume index: from 1000, it moves by the close's
// relative change on candles whose volume fell (rose) against the previous candle's, and
// holds otherwise, including after a previous close of 0.
template <VolumeShift Shift>
struct VolumeIndexStep {
    static constexpr double START = 1000.0;
    static constexpr bool FROM_FIRST = true;

    double next(double total, const Candle& c, const Candle& prev) const {
        const bool shifted = Shift == VolumeShift::Falling ? c.volume < prev.volume : c.volume > prev.volume;
        if (!shifted || prev.close == 0.0) return total;
        return total + total * (c.close - prev.close) / prev.close;
    }
};

template <VolumeShift Shift>
using VolumeIndex = CumulativeLine<VolumeIndexStep<Shift>>;

}  // namespace ostrel
