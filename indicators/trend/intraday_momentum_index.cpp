#include <cmath>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// Intraday momentum index: the up-candle bodies' share of all bodies over N candles, in
// percent; 50 when no candle of the window has a body. The total is the up sum plus the down
// sum, so a window without down bodies reads exactly 100 and one without up bodies exactly 0.
class IntradayMomentumIndex {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<IntradayMomentumIndex, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return IntradayMomentumIndex(period);
    }

    std::optional<double> update(const Candle& c) {
        const double body = c.close - c.open;
        if (!std::isfinite(body)) return std::nullopt;
        up_.push(body > 0.0 ? body : 0.0);
        down_.push(body < 0.0 ? -body : 0.0);
        if (!up_.full()) return std::nullopt;
        const double up = up_.sum();
        const double total = up + down_.sum();
        if (total == 0.0) return 50.0;
        return 100.0 * up / total;
    }

    std::size_t warmup_period() const { return up_.period(); }

private:
    explicit IntradayMomentumIndex(std::uint64_t period)
        : up_(static_cast<std::size_t>(period)), down_(static_cast<std::size_t>(period)) {}

    RunningSum up_;
    RunningSum down_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(IntradayMomentumIndex, ostrel::IntradayMomentumIndex::create(p.count(0)))
