#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>
#include <utility>

#include "indicators/core/catalogue.hpp"
#include "indicators/moving_averages/sma.hpp"
#include "indicators/rolling/midpoint.hpp"

namespace ostrel {
namespace {

// Simple average of the scaled midpoint moves (m − m_prev)·(high − low)·1e8/volume, from the
// second candle; a candle without volume moves nothing.
class EaseOfMovement {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<EaseOfMovement, CoreError> create(std::uint64_t n) {
        auto average = Sma::create(n);
        if (!average) return std::unexpected(average.error());
        return EaseOfMovement(std::move(*average));
    }

    std::optional<double> update(const Candle& c) {
        const double m = midpoint(c.high, c.low);
        if (!prev_mid_) {
            prev_mid_ = m;
            return std::nullopt;
        }
        const double emv = c.volume == 0.0 ? 0.0 : (m - *prev_mid_) * (c.high - c.low) * 100000000.0 / c.volume;
        // A move beyond the largest doubles drops the candle whole.
        if (!std::isfinite(emv)) return std::nullopt;
        prev_mid_ = m;
        return average_.update(emv);
    }

    std::size_t warmup_period() const { return average_.warmup_period() + 1; }

private:
    explicit EaseOfMovement(Sma average) : average_(std::move(average)) {}

    Sma average_;
    std::optional<double> prev_mid_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(EaseOfMovement, ostrel::EaseOfMovement::create(p.count(0)))
