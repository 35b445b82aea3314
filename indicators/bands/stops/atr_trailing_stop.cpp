#include <algorithm>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/bands/stops/scaled_atr.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// A stop k·ATR from the close: below it while the close stays above the previous stop
// (only rising once the previous close was above too), above it otherwise (only falling
// while both closes stay below).
class AtrTrailingStop {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<AtrTrailingStop, CoreError> create(std::uint64_t n, double k) {
        auto band = ScaledAtr::create(n, k);
        if (!band) return std::unexpected(band.error());
        return AtrTrailingStop(*band);
    }

    std::optional<double> update(const Candle& c) {
        const auto a = band_.update(c);
        const double prev_close = prev_close_;
        prev_close_ = c.close;
        if (!a) return std::nullopt;
        const double x = c.close;
        const double m = stop_;
        if (!started_) {
            started_ = true;
            stop_ = x - *a;
        } else if (x > m) {
            stop_ = prev_close > m ? std::max(x - *a, m) : x - *a;
        } else {
            stop_ = x < m && prev_close < m ? std::min(x + *a, m) : x + *a;
        }
        return stop_;
    }

    std::size_t warmup_period() const { return band_.warmup_period(); }

private:
    explicit AtrTrailingStop(ScaledAtr band) : band_(band) {}

    ScaledAtr band_;
    double prev_close_ = 0.0;
    double stop_ = 0.0;
    bool started_ = false;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(AtrTrailingStop, ostrel::AtrTrailingStop::create(p.count(0), p.real(1)))
