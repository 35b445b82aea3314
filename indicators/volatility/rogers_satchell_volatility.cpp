#include "indicators/volatility/rogers_satchell_volatility.hpp"

#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/running_sum.hpp"
#include "indicators/volatility/annualiser.hpp"

namespace ostrel {
namespace {

// Drift-free estimator: σ² = mean of the Rogers–Satchell term over the last N candles.
class RogersSatchellVolatility {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<RogersSatchellVolatility, CoreError> create(std::uint64_t period,
                                                                      std::uint64_t periods_per_year) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return RogersSatchellVolatility(period, periods_per_year);
    }

    std::optional<double> update(const Candle& c) {
        // The low is the smallest price of a valid candle: a positive low makes every log finite.
        if (!(c.low > 0.0)) return std::nullopt;
        sum_.push(rogers_satchell_term(c));
        if (!sum_.full()) return std::nullopt;
        return annualise_(sum_.sum() / n_);
    }

    std::size_t warmup_period() const { return sum_.period(); }

private:
    RogersSatchellVolatility(std::size_t period, std::uint64_t periods_per_year)
        : sum_(period), n_(static_cast<double>(period)), annualise_(periods_per_year) {}

    RunningSum sum_;
    double n_;
    Annualiser annualise_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(RogersSatchellVolatility, ostrel::RogersSatchellVolatility::create(p.count(0), p.count(1)))
