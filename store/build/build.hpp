#pragma once

#include <cstdint>
#include <expected>
#include <string>
#include <string_view>
#include <vector>

#include "store/documents/feature_spec.hpp"
#include "store/documents/input_documents.hpp"
#include "store/store_error.hpp"

namespace ostrel::store {

struct IndexEntry {
    std::string_view symbol;  // a key of the series map the frame was built from
    std::int64_t ts = 0;
};

// Rows are stored row-major: `data` holds rows × columns.size() values.
struct FeatureFrame {
    std::vector<std::string> columns;
    std::vector<IndexEntry> index;
    std::vector<double> data;
    std::size_t rows = 0;
};

// The evaluation key of a feature: "{}({})" of its name and its parameters.
std::string evaluation_key(std::string_view name, const std::vector<double>& params);

std::expected<FeatureFrame, StoreError> build(const FeatureSpec& spec, const SeriesMap& series);

// Keeps only the columns from position `first` on.
void drop_leading_columns(FeatureFrame& frame, std::size_t first);

}  // namespace ostrel::store
