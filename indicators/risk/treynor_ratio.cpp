#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/anchored_moments.hpp"

namespace ostrel {
namespace {

// Mean excess return of the close per unit of its population beta to the reference.
class TreynorRatio {
public:
    static constexpr InputKind input = InputKind::Pair;

    static std::expected<TreynorRatio, CoreError> create(std::uint64_t period, double rf) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 2) return std::unexpected(CoreError::invalid_period("treynor ratio needs period >= 2"));
        return TreynorRatio(period, rf);
    }

    std::optional<double> update(double x, double y) {
        if (!pair_.push(x, y) || !pair_.full()) return std::nullopt;
        const double var_y = pair_.variance_y();
        if (var_y == 0.0) return 0.0;
        const double beta = pair_.covariance() / var_y;
        // A zero beta (a flat close included) has no risk to divide by.
        if (beta == 0.0) return 0.0;
        return (pair_.mean_x() - rf_) / beta;
    }

    std::size_t warmup_period() const { return pair_.period(); }

private:
    TreynorRatio(std::size_t n, double rf) : pair_(n), rf_(rf) {}

    AnchoredPairMoments pair_;
    double rf_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TreynorRatio, ostrel::TreynorRatio::create(p.count(0), p.real(1)))
