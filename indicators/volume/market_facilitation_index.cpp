#include <cmath>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// Price range per unit of volume; a candle without volume gives nothing.
class MarketFacilitationIndex {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<MarketFacilitationIndex, CoreError> create() { return MarketFacilitationIndex(); }

    std::optional<double> update(const Candle& c) {
        if (c.volume == 0.0) return std::nullopt;
        const double range = c.high - c.low;
        if (std::isfinite(range)) [[likely]] return range / c.volume;
        // A range beyond the largest double: halve it, divide, then double the quotient.
        return (c.high * 0.5 - c.low * 0.5) / c.volume * 2.0;
    }

    std::size_t warmup_period() const { return 1; }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(MarketFacilitationIndex, ostrel::MarketFacilitationIndex::create())
