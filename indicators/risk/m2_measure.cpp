#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/risk/excess_ratio.hpp"

namespace ostrel {
namespace {

// The Sharpe ratio rescaled to a benchmark's volatility and shifted back by the risk-free rate.
class M2Measure {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<M2Measure, CoreError> create(std::uint64_t period, double risk_free, double benchmark_sd) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 2) return std::unexpected(CoreError::invalid_period("m2 measure needs period >= 2"));
        if (!std::isfinite(risk_free) || !(std::isfinite(benchmark_sd) && benchmark_sd >= 0.0))
            return std::unexpected(CoreError::invalid_parameter(
                "risk_free must be finite and benchmark_stddev finite and non-negative"));
        return M2Measure(period, risk_free, benchmark_sd);
    }

    std::optional<double> update(double r) {
        if (!moments_.push(r) || !moments_.full()) return std::nullopt;
        const auto sharpe = excess_per_deviation(moments_, risk_free_);
        if (!sharpe) return 0.0;
        return *sharpe * benchmark_sd_ + risk_free_;
    }

    std::size_t warmup_period() const { return moments_.period(); }

private:
    M2Measure(std::size_t n, double risk_free, double benchmark_sd)
        : moments_(n), risk_free_(risk_free), benchmark_sd_(benchmark_sd) {}

    AnchoredMoments moments_;
    double risk_free_;
    double benchmark_sd_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(M2Measure, ostrel::M2Measure::create(p.count(0), p.real(1), p.real(2)))
