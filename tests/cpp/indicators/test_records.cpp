#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "indicators/core/records.hpp"

using namespace ostrel;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

template <class R>
std::string message(const R& r) {
    return r ? std::string("ok") : r.error().display();
}

}  // namespace

TEST(Records, CandleChecksRunInOrder) {
    struct Case {
        Candle c;
        const char* expected;
    };
    const Case cases[] = {
        {{0, 1, 2, 0.5, 1.5, 10}, "ok"},
        {{0, 1, 1, 1, 1, 0}, "ok"},                      // doji
        {{0, 1, 1, 1, 1, -0.0}, "ok"},                   // negative zero volume
        {{0, NaN, 2, 0.5, 1.5, 10}, "invalid candle: open, high, low, close must all be finite"},
        {{0, 1, Inf, 0.5, 1.5, 10}, "invalid candle: open, high, low, close must all be finite"},
        {{0, 5, 1, 4, 3, NaN}, "invalid candle: volume must be finite"},  // also out of order
        {{0, 1, 2, 0.5, 1.5, -1}, "invalid candle: volume must be non-negative"},
        {{0, 3, 1, 2, 1.5, 1}, "invalid candle: high must be >= low"},    // high below open and low
        {{0, 3, 2, 0.5, 1.5, 1}, "invalid candle: high must be >= open and >= close"},
        {{0, 1, 2, 0.5, 2.5, 1}, "invalid candle: high must be >= open and >= close"},
        {{0, 0.4, 2, 0.5, 1.5, 1}, "invalid candle: low must be <= open and <= close"},
        {{0, 1, 2, 0.5, 0.4, 1}, "invalid candle: low must be <= open and <= close"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(message(validate_candle(c.c)), c.expected);
        EXPECT_EQ(candle_is_valid(c.c), std::string(c.expected) == "ok");
    }
    // Finite prices whose sum overflows are still valid.
    EXPECT_TRUE(candle_is_valid({0, 1e308, 1.7e308, 1e308, 1.7e308, 1e308}));
}

TEST(Records, TradeChecks) {
    EXPECT_EQ(message(validate_trade({100, 0, Side::Buy, 0})), "ok");
    EXPECT_EQ(message(validate_trade({0, 1, Side::Sell, 0})),
              "invalid trade: trade price must be finite and positive");
    EXPECT_EQ(message(validate_trade({NaN, 1, Side::Sell, 0})),
              "invalid trade: trade price must be finite and positive");
    EXPECT_EQ(message(validate_trade({1, -1, Side::Sell, 0})),
              "invalid trade: trade size must be finite and non-negative");
    EXPECT_EQ(message(validate_trade({1, Inf, Side::Sell, 0})),
              "invalid trade: trade size must be finite and non-negative");
}

TEST(Records, OrderBookChecks) {
    struct Case {
        OrderBook b;
        const char* expected;
    };
    const Case cases[] = {
        {{{{100, 1}, {99, 2}}, {{101, 1}, {102, 0}}}, "ok"},
        {{{}, {{101, 1}}}, "invalid order book: order book must have at least one bid and one ask"},
        // Level checks come before the emptiness check.
        {{{}, {{0, 1}}}, "invalid order book: level price must be finite and positive"},
        {{{{100, 1}}, {{101, -1}}}, "invalid order book: level size must be finite and non-negative"},
        {{{{100, NaN}}, {{0, 1}}}, "invalid order book: level size must be finite and non-negative"},
        {{{{100, 1}, {100, 1}}, {{101, 1}}}, "invalid order book: bids must be strictly descending in price"},
        {{{{100, 1}}, {{101, 1}, {101, 1}}}, "invalid order book: asks must be strictly ascending in price"},
        {{{{100, 1}}, {{100, 1}}}, "invalid order book: order book must be uncrossed (best_bid < best_ask)"},
    };
    for (const Case& c : cases) EXPECT_EQ(message(validate_order_book(c.b)), c.expected);
}

TEST(Records, DerivativesTickChecks) {
    const DerivativesTick good{0, -0.01, 100, 100, 101, 5, 1, 1, 1, 1, 0, 0};
    EXPECT_EQ(message(validate_derivatives_tick(good)), "ok");
    auto with = [&](auto set) {
        DerivativesTick d = good;
        set(d);
        return message(validate_derivatives_tick(d));
    };
    EXPECT_EQ(with([](auto& d) { d.funding_rate = Inf; }), "invalid derivatives tick: funding_rate must be finite");
    EXPECT_EQ(with([](auto& d) { d.index_price = 0; }),
              "invalid derivatives tick: mark_price, index_price and futures_price must be finite and positive");
    EXPECT_EQ(with([](auto& d) { d.short_liquidation = -1; }),
              "invalid derivatives tick: open interest, sizes, volumes and liquidations must be finite and "
              "non-negative");
    EXPECT_EQ(with([](auto& d) { d.short_liquidation = -1; d.funding_rate = NaN; }),
              "invalid derivatives tick: funding_rate must be finite");
}

TEST(Records, CrossSectionChecks) {
    EXPECT_EQ(message(validate_cross_section({0, {}})),
              "invalid cross-section: cross-section must contain at least one member");
    EXPECT_EQ(message(validate_cross_section({0, {{-3, 1, false, true, false, false}}})), "ok");
    EXPECT_EQ(message(validate_cross_section({0, {{1, 1}, {NaN, -1}}})),
              "invalid cross-section: member change must be finite");
    EXPECT_EQ(message(validate_cross_section({0, {{1, -1}}})),
              "invalid cross-section: member volume must be finite and non-negative");
}

TEST(Records, CoreErrorDisplayForms) {
    EXPECT_EQ(CoreError::zero_period().display(), "period must be greater than zero");
    EXPECT_EQ(CoreError::non_finite_input().display(), "input value must be finite (got NaN or infinity)");
    EXPECT_EQ(CoreError::zero_multiplier().display(), "multiplier must be greater than zero");
    EXPECT_EQ(CoreError::invalid_period("x").display(), "invalid period: x");
    EXPECT_EQ(CoreError::invalid_parameter("y").display(), "invalid parameter: y");
    EXPECT_EQ((CoreError{CoreErrorKind::InvalidTick, "z"}).display(), "invalid tick: z");
    EXPECT_EQ(static_cast<int>(CoreErrorKind::InvalidParameter), 10);
}
