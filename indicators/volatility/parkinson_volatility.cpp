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

// High–low range estimator: σ² = Σ ln(h/l)² · 1/(4·ln 2) / N over the last N candles.
class ParkinsonVolatility {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<ParkinsonVolatility, CoreError> create(std::uint64_t period,
                                                                 std::uint64_t periods_per_year) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return ParkinsonVolatility(period, periods_per_year);
    }

    std::optional<double> update(const Candle& c) {
        // The low is the smallest price of a valid candle: a positive low makes every log finite.
        if (!(c.low > 0.0)) return std::nullopt;
        const double range = log_ratio(c.high, c.low);
        sum_.push(range * range);
        if (!sum_.full()) return std::nullopt;
        return annualise_(sum_.sum() * 0.3606737602222412 / n_);
    }

    std::size_t warmup_period() const { return sum_.period(); }

private:
    ParkinsonVolatility(std::size_t period, std::uint64_t periods_per_year)
        : sum_(period), n_(static_cast<double>(period)), annualise_(periods_per_year) {}

    RunningSum sum_;
    double n_;
    Annualiser annualise_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(ParkinsonVolatility, ostrel::ParkinsonVolatility::create(p.count(0), p.count(1)))
