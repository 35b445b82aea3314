#pragma once

#include <limits>

#include "indicators/rolling/ring_window.hpp"

namespace ostrel {

// Left folds over the whole window, oldest first; NaN values are ignored.
template <class T, class Field>
double window_max(const RingWindow<T>& w, Field field) {
    return w.fold(-std::numeric_limits<double>::infinity(), [&](double acc, const T& v) {
        const double x = field(v);
        return x > acc ? x : acc;
    });
}

template <class T, class Field>
double window_min(const RingWindow<T>& w, Field field) {
    return w.fold(std::numeric_limits<double>::infinity(), [&](double acc, const T& v) {
        const double x = field(v);
        return x < acc ? x : acc;
    });
}

inline double window_max(const RingWindow<double>& w) {
    return window_max(w, [](double v) { return v; });
}
inline double window_min(const RingWindow<double>& w) {
    return window_min(w, [](double v) { return v; });
}

}  // namespace ostrel
