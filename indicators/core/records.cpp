#include "indicators/core/records.hpp"

#include <cmath>

namespace ostrel {
namespace {

bool finite(double x) { return std::isfinite(x); }
bool finite_positive(double x) { return std::isfinite(x) && x > 0.0; }
// -0.0 >= 0.0 holds, so negative zero counts as non-negative.
bool finite_non_negative(double x) { return std::isfinite(x) && x >= 0.0; }

std::unexpected<CoreError> fail(CoreErrorKind kind, const char* text) {
    return std::unexpected(CoreError{kind, text});
}

}  // namespace

Validation validate_candle(const Candle& c) {
    constexpr auto K = CoreErrorKind::InvalidCandle;
    if (!finite(c.open) || !finite(c.high) || !finite(c.low) || !finite(c.close))
        return fail(K, "open, high, low, close must all be finite");
    if (!finite(c.volume)) return fail(K, "volume must be finite");
    if (c.volume < 0.0) return fail(K, "volume must be non-negative");
    if (c.low > c.high) return fail(K, "high must be >= low");
    if (c.open > c.high || c.close > c.high) return fail(K, "high must be >= open and >= close");
    if (c.low > c.open || c.low > c.close) return fail(K, "low must be <= open and <= close");
    return {};
}

Validation validate_trade(const TradePrint& t) {
    constexpr auto K = CoreErrorKind::InvalidTrade;
    if (!finite_positive(t.price)) return fail(K, "trade price must be finite and positive");
    if (!finite_non_negative(t.size)) return fail(K, "trade size must be finite and non-negative");
    return {};
}

Validation validate_order_book(const OrderBook& b) {
    constexpr auto K = CoreErrorKind::InvalidOrderBook;
    for (const auto* side : {&b.bids, &b.asks}) {
        for (const Level& l : *side) {
            if (!finite_positive(l.price)) return fail(K, "level price must be finite and positive");
            if (!finite_non_negative(l.size)) return fail(K, "level size must be finite and non-negative");
        }
    }
    if (b.bids.empty() || b.asks.empty())
        return fail(K, "order book must have at least one bid and one ask");
    for (std::size_t i = 1; i < b.bids.size(); ++i)
        if (!(b.bids[i].price < b.bids[i - 1].price))
            return fail(K, "bids must be strictly descending in price");
    for (std::size_t i = 1; i < b.asks.size(); ++i)
        if (!(b.asks[i].price > b.asks[i - 1].price))
            return fail(K, "asks must be strictly ascending in price");
    if (!(b.bids[0].price < b.asks[0].price))
        return fail(K, "order book must be uncrossed (best_bid < best_ask)");
    return {};
}

Validation validate_derivatives_tick(const DerivativesTick& d) {
    constexpr auto K = CoreErrorKind::InvalidDerivativesTick;
    if (!finite(d.funding_rate)) return fail(K, "funding_rate must be finite");
    for (double p : {d.mark_price, d.index_price, d.futures_price})
        if (!finite_positive(p))
            return fail(K, "mark_price, index_price and futures_price must be finite and positive");
    for (double v : {d.open_interest, d.long_size, d.short_size, d.taker_buy_volume,
                     d.taker_sell_volume, d.long_liquidation, d.short_liquidation})
        if (!finite_non_negative(v))
            return fail(K, "open interest, sizes, volumes and liquidations must be finite and non-negative");
    return {};
}

Validation validate_cross_section(const CrossSection& s) {
    constexpr auto K = CoreErrorKind::InvalidCrossSection;
    if (s.members.empty()) return fail(K, "cross-section must contain at least one member");
    for (const CrossSectionMember& m : s.members) {
        if (!finite(m.change)) return fail(K, "member change must be finite");
        if (!finite_non_negative(m.volume)) return fail(K, "member volume must be finite and non-negative");
    }
    return {};
}

}  // namespace ostrel
