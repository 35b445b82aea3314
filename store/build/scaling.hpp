#pragma once

#include <cstddef>
#include <span>

#include "store/documents/feature_spec.hpp"

namespace ostrel::store {

// Rescales the first `features` columns of a row-major frame of `width` columns, over all rows.
void scale_frame(std::span<double> data, std::size_t width, std::size_t features, ScalingMode mode);

}  // namespace ostrel::store
