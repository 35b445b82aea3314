#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/midpoint.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// TTM trend: +1 when the close is above the N-candle average of the candle midpoints, else −1.
class TtmTrend {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<TtmTrend, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return TtmTrend(period);
    }

    std::optional<double> update(const Candle& c) {
        if (!midpoints_.push(midpoint(c.high, c.low)) || !midpoints_.full()) return std::nullopt;
        return midpoints_.mean() < c.close ? 1.0 : -1.0;
    }

    std::size_t warmup_period() const { return midpoints_.period(); }

private:
    explicit TtmTrend(std::uint64_t period) : midpoints_(static_cast<std::size_t>(period), 16) {}
    RunningSum midpoints_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TtmTrend, ostrel::TtmTrend::create(p.count(0)))
