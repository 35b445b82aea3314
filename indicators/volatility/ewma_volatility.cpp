#include <algorithm>
#include <cmath>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/volatility/log_return_source.hpp"

namespace ostrel {
namespace {

// Exponentially weighted variance of log returns, var = (1 − λ)·r² + λ·var, seeded with the
// first squared return; the current return enters the current variance.
class EwmaVolatility {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<EwmaVolatility, CoreError> create(double lambda) {
        if (!(std::isfinite(lambda) && lambda > 0.0 && lambda < 1.0))
            return std::unexpected(
                CoreError::invalid_parameter("EWMA volatility lambda must be in the open interval (0, 1)"));
        return EwmaVolatility(lambda);
    }

    std::optional<double> update(double x) {
        const std::optional<double> r = returns_.push(x);
        if (!r) return std::nullopt;
        const double square = *r * *r;
        if (!seeded_) {
            variance_ = square;
            seeded_ = true;
        } else if (square != variance_) {
            // A square equal to the variance leaves it exactly as it is, which the two
            // rounded weights would not.
            variance_ = one_minus_lambda_ * square + lambda_ * variance_;
        }
        return std::sqrt(std::max(variance_, 0.0));
    }

    std::size_t warmup_period() const { return 2; }

private:
    explicit EwmaVolatility(double lambda) : lambda_(lambda), one_minus_lambda_(1.0 - lambda) {}

    LogReturnSource returns_;
    double lambda_;
    double one_minus_lambda_;
    double variance_ = 0.0;
    bool seeded_ = false;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(EwmaVolatility, ostrel::EwmaVolatility::create(p.real(0)))
