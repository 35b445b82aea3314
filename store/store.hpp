#pragma once

#include <expected>
#include <memory>
#include <string>
#include <string_view>

#include "store/documents/feature_spec.hpp"
#include "store/documents/input_documents.hpp"
#include "store/store_error.hpp"

namespace ostrel::store {

inline constexpr std::string_view VERSION = "0.2.0";

// The checked specification and every pushed series, per symbol in byte order of the name.
class Store {
public:
    // Reads the spec from its JSON text and checks it.
    static std::expected<Store, StoreError> from_spec_text(std::string_view spec_json);

    // Runs one command text; on failure the store is left as it was.
    std::expected<std::string, StoreError> command(std::string_view cmd_json);

    const FeatureSpec& spec() const { return spec_; }
    const SeriesMap& series() const { return series_; }

    void push(const std::string& symbol, const Candle& candle, const StepFeeds* feeds);
    void push_candles(const std::string& symbol, const std::vector<Candle>& candles);
    void reset() { series_.clear(); }
    void replace_spec(FeatureSpec spec) { spec_ = std::move(spec); }

private:
    explicit Store(FeatureSpec spec) : spec_(std::move(spec)) {}
    FeatureSpec spec_;
    SeriesMap series_;
};

}  // namespace ostrel::store
