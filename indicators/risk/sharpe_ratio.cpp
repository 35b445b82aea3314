#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/risk/excess_ratio.hpp"

namespace ostrel {
namespace {

// Mean excess return over its sample standard deviation, not annualised.
class SharpeRatio {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<SharpeRatio, CoreError> create(std::uint64_t period, double rf) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 2) return std::unexpected(CoreError::invalid_period("sharpe ratio needs period >= 2"));
        return SharpeRatio(period, rf);
    }

    std::optional<double> update(double r) {
        if (!moments_.push(r) || !moments_.full()) return std::nullopt;
        return excess_per_deviation(moments_, rf_).value_or(0.0);
    }

    std::size_t warmup_period() const { return moments_.period(); }

private:
    SharpeRatio(std::size_t n, double rf) : moments_(n), rf_(rf) {}

    AnchoredMoments moments_;
    double rf_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(SharpeRatio, ostrel::SharpeRatio::create(p.count(0), p.real(1)))
