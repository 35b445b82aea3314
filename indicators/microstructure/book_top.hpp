#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>
#include <optional>

#include "indicators/core/indicator.hpp"
#include "indicators/rolling/midpoint.hpp"

namespace ostrel {

// Best level of each side; only meaningful when both sides have a level.
struct BookTop {
    double bid = 0.0;
    double bid_size = 0.0;
    double ask = 0.0;
    double ask_size = 0.0;

    double mid() const { return midpoint(bid, ask); }
};

inline std::optional<BookTop> book_top(const OrderBook& b) {
    if (b.bids.empty() || b.asks.empty()) return std::nullopt;
    return BookTop{b.bids[0].price, b.bids[0].size, b.asks[0].price, b.asks[0].size};
}

// (B − A) / (B + A) over the sizes of the first `levels` levels of each side (fewer when a
// side is shorter; an empty side counts as 0); 0 when the sum is not positive.
inline double level_imbalance(const OrderBook& b, std::size_t levels) {
    auto depth = [levels](const std::vector<Level>& side) {
        const std::size_t k = std::min(levels, side.size());
        double sum = 0.0;
        for (std::size_t i = 0; i < k; ++i) sum += side[i].size;
        return sum;
    };
    const double bids = depth(b.bids);
    const double asks = depth(b.asks);
    const double total = bids + asks;
    return total > 0.0 ? (bids - asks) / total : 0.0;
}

inline double trade_sign(const TradePrint& t) { return t.side == Side::Buy ? 1.0 : -1.0; }
inline double signed_size(const TradePrint& t) { return trade_sign(t) * t.size; }

// The step's reference price: the book's mid when it has both sides, else the close;
// nothing when that is not finite and positive (the whole step is then skipped).
inline std::optional<double> reference_price(const StepView& s) {
    const std::optional<BookTop> top = s.book ? book_top(*s.book) : std::nullopt;
    const double r = top ? top->mid() : s.candle.close;
    if (!std::isfinite(r) || !(r > 0.0)) return std::nullopt;
    return r;
}

// Runs `per_trade(trade, r)` over the step's trades at its reference price r; the step's result
// is the last trade's. A step without trades or without a usable reference changes nothing.
template <class PerTrade>
std::optional<double> over_trades(const StepView& s, PerTrade&& per_trade) {
    if (s.trades.empty()) return std::nullopt;
    const std::optional<double> r = reference_price(s);
    if (!r) return std::nullopt;
    std::optional<double> out;
    for (const TradePrint& t : s.trades) out = per_trade(t, *r);
    return out;
}

// Spread of a trade against a reference, in basis points of the base reference.
inline double spread_bps(double sign, double price, double reference, double base) {
    return 2.0 * sign * (price - reference) / base * 10000.0;
}

}  // namespace ostrel
