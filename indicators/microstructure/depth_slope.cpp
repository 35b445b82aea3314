#include <cstddef>
#include <vector>

#include "indicators/core/catalogue.hpp"
#include "indicators/microstructure/book_top.hpp"
#include "indicators/microstructure/record_member.hpp"

namespace ostrel {
namespace {

// Least-squares slope of cumulative depth on distance from the mid over one side's levels;
// `direction` is +1 for asks (price − mid) and −1 for bids (mid − price).
double side_slope(const std::vector<Level>& side, double mid, double direction) {
    double sx = 0.0, sy = 0.0, sxx = 0.0, sxy = 0.0, depth = 0.0;
    for (const Level& l : side) {
        const double x = direction > 0.0 ? l.price - mid : mid - l.price;
        depth += l.size;
        sx += x;
        sy += depth;
        sxx += x * x;
        sxy += x * depth;
    }
    const double k = static_cast<double>(side.size());
    const double den = k * sxx - sx * sx;
    if (den == 0.0) return 0.0;
    return (k * sxy - sx * sy) / den;
}

double depth_slope(const OrderBook& b) {
    if (b.bids.size() < 2 || b.asks.size() < 2) return 0.0;
    const double mid = midpoint(b.bids[0].price, b.asks[0].price);
    return midpoint(side_slope(b.bids, mid, -1.0), side_slope(b.asks, mid, 1.0));
}

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(DepthSlope, (RecordMember<InputKind::OrderBook, OrderBook, &depth_slope>::create()))
