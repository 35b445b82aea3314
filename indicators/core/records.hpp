#pragma once

#include <cmath>
#include <cstdint>
#include <expected>
#include <vector>

#include "indicators/core/core_error.hpp"

namespace ostrel {

struct Candle {
    std::int64_t ts = 0;
    double open = 0.0;
    double high = 0.0;
    double low = 0.0;
    double close = 0.0;
    double volume = 0.0;
};

enum class Side : std::uint8_t { Buy, Sell };

struct TradePrint {
    double price = 0.0;
    double size = 0.0;
    Side side = Side::Buy;
    std::int64_t timestamp = 0;
};

struct Level {
    double price = 0.0;
    double size = 0.0;
};

// Bids best (highest) first, asks best (lowest) first.
struct OrderBook {
    std::vector<Level> bids;
    std::vector<Level> asks;
};

struct DerivativesTick {
    std::int64_t timestamp = 0;
    double funding_rate = 0.0;
    double mark_price = 0.0;
    double index_price = 0.0;
    double futures_price = 0.0;
    double open_interest = 0.0;
    double long_size = 0.0;
    double short_size = 0.0;
    double taker_buy_volume = 0.0;
    double taker_sell_volume = 0.0;
    double long_liquidation = 0.0;
    double short_liquidation = 0.0;
};

struct CrossSectionMember {
    double change = 0.0;
    double volume = 0.0;
    bool new_high = false;
    bool new_low = false;
    bool above_ma = false;
    bool bullish = false;
};

struct CrossSection {
    std::int64_t timestamp = 0;
    std::vector<CrossSectionMember> members;
};

using Validation = std::expected<void, CoreError>;

Validation validate_candle(const Candle& c);
Validation validate_trade(const TradePrint& t);
Validation validate_order_book(const OrderBook& b);
Validation validate_derivatives_tick(const DerivativesTick& d);
Validation validate_cross_section(const CrossSection& s);

// The per-step test whole-candle indicators run; cheaper than building an error.
inline bool candle_is_valid(const Candle& c) {
    return std::isfinite(c.open) && std::isfinite(c.high) && std::isfinite(c.low) &&
           std::isfinite(c.close) && std::isfinite(c.volume) && c.volume >= 0.0 &&
           c.low <= c.high && c.open <= c.high && c.close <= c.high && c.low <= c.open &&
           c.low <= c.close;
}

}  // namespace ostrel
