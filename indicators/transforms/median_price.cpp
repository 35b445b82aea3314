#include <cmath>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/rolling/midpoint.hpp"

namespace ostrel {
namespace {

// Middle of the candle range.
class MedianPrice {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<MedianPrice, CoreError> create() { return MedianPrice(); }

    std::optional<double> update(const Candle& c) { return midpoint(c.high, c.low); }

    std::size_t warmup_period() const { return 1; }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(MedianPrice, MedianPrice::create())
