#pragma once

#include <span>
#include <string>

#include "indicators/core/records.hpp"
#include "store/documents/feature_spec.hpp"

namespace ostrel::store {

std::string label_column_name(const Label& label);

// Values of one label at every candle position of a symbol (n values into `out`).
void label_values(const Label& label, std::span<const Candle> candles, std::span<double> out);

}  // namespace ostrel::store
