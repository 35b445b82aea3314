#include "store/build/scaling.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ostrel::store {

namespace {

void min_max(std::span<double> data, std::size_t width, std::size_t col) {
    double lo = std::numeric_limits<double>::infinity();
    double hi = -std::numeric_limits<double>::infinity();
    bool any = false;
    for (std::size_t i = col; i < data.size(); i += width) {
        const double v = data[i];
        if (!std::isfinite(v)) continue;
        any = true;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    if (!any) return;
    const double range = hi - lo;
    for (std::size_t i = col; i < data.size(); i += width) {
        double& v = data[i];
        if (std::isfinite(v)) v = range == 0.0 ? 0.0 : (v - lo) / range;
    }
}

void z_score(std::span<double> data, std::size_t width, std::size_t col) {
    std::size_t k = 0;
    double sum = 0.0;
    bool constant = true;
    double first = 0.0;
    for (std::size_t i = col; i < data.size(); i += width) {
        const double v = data[i];
        if (!std::isfinite(v)) continue;
        if (k == 0) first = v;
        else if (v != first) constant = false;
        ++k;
        sum += v;
    }
    if (k == 0) return;
    const double mean = sum / static_cast<double>(k);
    double squares = 0.0;
    for (std::size_t i = col; i < data.size(); i += width) {
        const double v = data[i];
        if (std::isfinite(v)) squares += (v - mean) * (v - mean);
    }
    const double variance = squares / static_cast<double>(k);
    // Equal values have no spread even when their mean is inexact.
    const bool flat = constant || variance == 0.0;
    const double sd = std::sqrt(variance);
    for (std::size_t i = col; i < data.size(); i += width) {
        double& v = data[i];
        if (std::isfinite(v)) v = flat ? 0.0 : (v - mean) / sd;
    }
}

}  // namespace

void scale_frame(std::span<double> data, std::size_t width, std::size_t features, ScalingMode mode) {
    if (width == 0) return;
    for (std::size_t col = 0; col < features && col < width; ++col) {
        if (mode == ScalingMode::MinMax) min_max(data, width, col);
        else z_score(data, width, col);
    }
}

}  // namespace ostrel::store
