#pragma once

#include <cstdint>
#include <expected>
#include <optional>
#include <string_view>
#include <vector>

#include "indicators/core/indicator.hpp"
#include "store/documents/feature_spec.hpp"
#include "store/documents/input_documents.hpp"
#include "store/store_error.hpp"

namespace ostrel::store {

enum class FeedNeed : std::uint8_t { None, Reference, Derivs, Books, Trades, TradesAndBooks, Sections };

FeedNeed feed_need(std::string_view indicator_name);

// A symbol's feeds, checked and aligned to its candles. The records are read in place from
// the series (never changed); only the reference closes are extracted.
struct AlignedFeeds {
    const SymbolSeries* series = nullptr;
    std::optional<std::vector<double>> reference;
    std::vector<double> closes;

    SeriesView view() const;
};

std::expected<AlignedFeeds, StoreError> assemble_feeds(std::string_view symbol, const SymbolSeries& series,
                                                       const std::vector<Feature>& features);

}  // namespace ostrel::store
