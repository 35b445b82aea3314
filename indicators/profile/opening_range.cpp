#include <array>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/profile/initial_balance.hpp"
#include "indicators/rolling/midpoint.hpp"

namespace ostrel {
namespace {

// The range of the first N candles and how far the close has left its middle.
class OpeningRange {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<OpeningRange, CoreError> create(std::uint64_t period) {
        auto range = InitialBalance::create(period);
        if (!range) return std::unexpected(range.error());
        return OpeningRange(std::move(*range));
    }

    std::optional<std::array<double, 3>> update(const Candle& c) {
        const auto r = range_.update(c);
        const double high = (*r)[0];
        const double low = (*r)[1];
        return std::array<double, 3>{high, low, c.close - midpoint(high, low)};
    }

    std::size_t warmup_period() const { return range_.warmup_period(); }

private:
    explicit OpeningRange(InitialBalance range) : range_(std::move(range)) {}
    InitialBalance range_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(OpeningRange, OpeningRange::create(p.count(0)))
