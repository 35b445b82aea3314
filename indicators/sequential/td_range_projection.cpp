#include <array>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// The next bar's expected high and low, from a pivot weighted towards the bar's close side.
class TdRangeProjection {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<TdRangeProjection, CoreError> create() { return TdRangeProjection(); }

    std::optional<std::array<double, 2>> update(const Candle& k) {
        double x;
        if (k.open > k.close) {
            x = 2.0 * k.low + k.high + k.close;
        } else if (k.open < k.close) {
            x = 2.0 * k.high + k.low + k.close;
        } else {
            x = k.high + k.low + 2.0 * k.close;
        }
        return std::array<double, 2>{x / 2.0 - k.low, x / 2.0 - k.high};
    }

    std::size_t warmup_period() const { return 1; }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TdRangeProjection, TdRangeProjection::create())
