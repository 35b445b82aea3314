#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/anchored_moments.hpp"
#include "indicators/volatility/annualiser.hpp"
#include "indicators/volatility/log_return_source.hpp"
#include "indicators/volatility/sample_variance.hpp"

namespace ostrel {
namespace {

// Annualised sample deviation of the last N log returns, in percent.
class HistoricalVolatility {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<HistoricalVolatility, CoreError> create(std::uint64_t period,
                                                                  std::uint64_t periods_per_year) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 2)
            return std::unexpected(CoreError::invalid_period("historical volatility period must be >= 2"));
        return HistoricalVolatility(period, periods_per_year);
    }

    std::optional<double> update(double x) {
        const std::optional<double> r = returns_.push(x);
        if (!r) return std::nullopt;
        window_.push(*r);
        if (!window_.full()) return std::nullopt;
        return annualise_(sample_variance(window_));
    }

    std::size_t warmup_period() const { return window_.period() + 1; }

private:
    HistoricalVolatility(std::size_t period, std::uint64_t periods_per_year)
        : window_(period), annualise_(periods_per_year) {}

    LogReturnSource returns_;
    AnchoredMoments window_;
    Annualiser annualise_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(HistoricalVolatility, ostrel::HistoricalVolatility::create(p.count(0), p.count(1)))
