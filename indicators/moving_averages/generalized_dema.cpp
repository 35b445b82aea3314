#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"

namespace ostrel {
namespace {

// e1·(1 + v) − e2·v with e1, e2 as in the double exponential average.
class GeneralizedDema {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<GeneralizedDema, CoreError> create(std::uint64_t period, double v) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (!std::isfinite(v) || v < 0.0 || v > 1.0)
            return std::unexpected(CoreError::invalid_period("GD volume factor must be a finite value in [0.0, 1.0]"));
        return GeneralizedDema(period, v);
    }

    std::optional<double> update(double x) {
        const auto e1 = e1_.push(x);
        if (!e1) return std::nullopt;
        const auto e2 = e2_.push(*e1);
        if (!e2) return std::nullopt;
        // Equal stages mean the weights (1 + v) and −v sum to exactly one; rounding must not
        // move a constant series off its value.
        if (*e1 == *e2) return *e1;
        return *e1 * one_plus_v_ - *e2 * v_;
    }

    std::size_t warmup_period() const { return 2 * e1_.period() - 1; }

private:
    GeneralizedDema(std::uint64_t n, double v) : e1_(n), e2_(n), v_(v), one_plus_v_(1.0 + v) {}
    ExpSmoother e1_;
    ExpSmoother e2_;
    double v_;
    double one_plus_v_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(GeneralizedDema, ostrel::GeneralizedDema::create(p.count(0), p.real(1)))
