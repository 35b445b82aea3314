#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/running_sum.hpp"
#include "indicators/volatility/annualiser.hpp"
#include "indicators/volatility/log_return_source.hpp"

namespace ostrel {
namespace {

// Open-high-low-close estimator: σ² = mean over N candles of
// 0.5·ln(h/l)² − (2·ln 2 − 1)·ln(c/o)².
class GarmanKlassVolatility {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<GarmanKlassVolatility, CoreError> create(std::uint64_t period,
                                                                   std::uint64_t periods_per_year) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return GarmanKlassVolatility(period, periods_per_year);
    }

    std::optional<double> update(const Candle& c) {
        // The low is the smallest price of a valid candle: a positive low makes every log finite.
        if (!(c.low > 0.0)) return std::nullopt;
        const double range = log_ratio(c.high, c.low);
        const double body = log_ratio(c.close, c.open);
        sum_.push(0.5 * (range * range) - 0.3862943611198906 * (body * body));
        if (!sum_.full()) return std::nullopt;
        return annualise_(sum_.sum() / n_);
    }

    std::size_t warmup_period() const { return sum_.period(); }

private:
    GarmanKlassVolatility(std::size_t period, std::uint64_t periods_per_year)
        : sum_(period), n_(static_cast<double>(period)), annualise_(periods_per_year) {}

    RunningSum sum_;
    double n_;
    Annualiser annualise_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(GarmanKlassVolatility, ostrel::GarmanKlassVolatility::create(p.count(0), p.count(1)))
