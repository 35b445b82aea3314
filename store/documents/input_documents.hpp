#pragma once

#include <expected>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "indicators/core/records.hpp"
#include "store/json/json_reader.hpp"

namespace ostrel::store {

// The auxiliary records of one pushed step.
struct StepFeeds {
    std::optional<double> reference;
    std::optional<DerivativesTick> deriv;
    std::optional<OrderBook> orderbook;
    std::optional<std::vector<TradePrint>> trades;
    std::optional<CrossSection> cross_section;
};

// One symbol's candles and optional feeds, each in step order.
struct SymbolSeries {
    std::vector<Candle> candles;
    std::optional<std::vector<Candle>> reference;
    std::optional<std::vector<DerivativesTick>> derivs;
    std::optional<std::vector<OrderBook>> books;
    std::optional<std::vector<std::vector<TradePrint>>> trades;
    std::optional<std::vector<CrossSection>> sections;
};

using SeriesMap = std::map<std::string, SymbolSeries, std::less<>>;

// Conversions of parsed command fields; the error is the conversion message.
std::expected<Candle, std::string> read_candle(const json::Value& v);
std::expected<std::vector<Candle>, std::string> read_candles(const json::Value& v);
std::expected<StepFeeds, std::string> read_step_feeds(const json::Value& v);
std::expected<SymbolSeries, std::string> read_symbol_input(const json::Value& v);
std::expected<SeriesMap, std::string> read_series_map(const json::Value& v);

}  // namespace ostrel::store
