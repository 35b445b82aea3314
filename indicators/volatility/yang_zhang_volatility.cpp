#include <algorithm>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/anchored_moments.hpp"
#include "indicators/rolling/running_sum.hpp"
#include "indicators/volatility/annualiser.hpp"
#include "indicators/volatility/log_return_source.hpp"
#include "indicators/volatility/rogers_satchell_volatility.hpp"
#include "indicators/volatility/sample_variance.hpp"

namespace ostrel {
namespace {

// σ² = σ²(overnight) + k·σ²(open to close) + (1 − k)·mean Rogers–Satchell term, over N candles
// after the first, with k = 0.34/(1.34 + (N + 1)/(N − 1)).
class YangZhangVolatility {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<YangZhangVolatility, CoreError> create(std::uint64_t period,
                                                                 std::uint64_t periods_per_year) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 2) return std::unexpected(CoreError::invalid_period("Yang-Zhang period must be >= 2"));
        return YangZhangVolatility(period, periods_per_year);
    }

    std::optional<double> update(const Candle& c) {
        // The low is the smallest price of a valid candle: a positive low makes every log finite.
        if (!(c.low > 0.0)) return std::nullopt;
        const std::optional<double> previous = previous_close_;
        previous_close_ = c.close;
        if (!previous) return std::nullopt;
        overnight_.push(log_ratio(c.open, *previous));
        open_close_.push(log_ratio(c.close, c.open));
        rs_.push(rogers_satchell_term(c));
        if (!rs_.full()) return std::nullopt;
        const double rs_variance = std::max(0.0, rs_.sum() / n_);
        const double variance =
            sample_variance(overnight_) + k_ * sample_variance(open_close_) + (1.0 - k_) * rs_variance;
        return annualise_(variance);
    }

    std::size_t warmup_period() const { return rs_.period() + 1; }

private:
    YangZhangVolatility(std::size_t period, std::uint64_t periods_per_year)
        : overnight_(period),
          open_close_(period),
          rs_(period),
          n_(static_cast<double>(period)),
          k_(0.34 / (1.34 + (n_ + 1.0) / (n_ - 1.0))),
          annualise_(periods_per_year) {}

    std::optional<double> previous_close_;
    AnchoredMoments overnight_;
    AnchoredMoments open_close_;
    RunningSum rs_;
    double n_;
    double k_;
    Annualiser annualise_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(YangZhangVolatility, ostrel::YangZhangVolatility::create(p.count(0), p.count(1)))
