#include <array>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/bands/stops/scaled_atr.hpp"
#include "indicators/core/catalogue.hpp"
#include "indicators/rolling/midpoint.hpp"

namespace ostrel {
namespace {

// Bands k·ATR around the candle's midpoint that only tighten while the previous close stays
// inside them; the trend flips when the close leaves the band it follows.
class SuperTrend {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<SuperTrend, CoreError> create(std::uint64_t n, double k) {
        auto band = ScaledAtr::create(n, k);
        if (!band) return std::unexpected(band.error());
        return SuperTrend(*band);
    }

    // value, direction.
    std::optional<std::array<double, 2>> update(const Candle& c) {
        const auto band = band_.update(c);
        const double prev_close = prev_close_;
        prev_close_ = c.close;
        if (!band) return std::nullopt;
        const double hl2 = midpoint(c.high, c.low);
        const double basic_upper = hl2 + *band;
        const double basic_lower = hl2 - *band;
        if (direction_ == 0.0) {
            upper_ = basic_upper;
            lower_ = basic_lower;
            direction_ = 1.0;
        } else {
            if (basic_upper < upper_ || prev_close > upper_) upper_ = basic_upper;
            if (basic_lower > lower_ || prev_close < lower_) lower_ = basic_lower;
            if (direction_ < 0.0) direction_ = c.close <= upper_ ? -1.0 : 1.0;
            else direction_ = c.close >= lower_ ? 1.0 : -1.0;
        }
        return std::array<double, 2>{direction_ > 0.0 ? lower_ : upper_, direction_};
    }

    std::size_t warmup_period() const { return band_.warmup_period(); }

private:
    explicit SuperTrend(ScaledAtr band) : band_(band) {}

    ScaledAtr band_;
    double prev_close_ = 0.0;
    double direction_ = 0.0;  // 0 until the first value
    double upper_ = 0.0;
    double lower_ = 0.0;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(SuperTrend, ostrel::SuperTrend::create(p.count(0), p.real(1)))
