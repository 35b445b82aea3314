#pragma once

namespace ostrel {

// The volume signed by the close's move: + on a rise, − on a fall, 0 on an unchanged close.
inline double signed_volume(double close, double prev_close, double volume) {
    if (close > prev_close) return volume;
    if (close < prev_close) return -volume;
    return 0.0;
}

}  // namespace ostrel
