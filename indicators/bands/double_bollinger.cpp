#include <array>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/anchored_moments.hpp"

namespace ostrel {
namespace {

// Inner and outer Bollinger bands from one set of moments.
class DoubleBollinger {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<DoubleBollinger, CoreError> create(std::uint64_t period, double k_inner, double k_outer) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (auto e = multiplier_error(k_inner)) return std::unexpected(*e);
        if (auto e = multiplier_error(k_outer)) return std::unexpected(*e);
        if (!(k_outer > k_inner))
            return std::unexpected(CoreError::invalid_period("double bollinger requires k_outer > k_inner"));
        return DoubleBollinger(period, k_inner, k_outer);
    }

    // upper_outer, upper_inner, middle, lower_inner, lower_outer.
    std::optional<std::array<double, 5>> update(double x) {
        if (!moments_.push(x) || !moments_.full()) return std::nullopt;
        const double mean = moments_.mean();
        const double sigma = moments_.stddev();
        const double inner = k_inner_ * sigma;
        const double outer = k_outer_ * sigma;
        return std::array<double, 5>{mean + outer, mean + inner, mean, mean - inner, mean - outer};
    }

    std::size_t warmup_period() const { return moments_.period(); }

private:

    DoubleBollinger(std::uint64_t n, double k_inner, double k_outer)
        : moments_(n), k_inner_(k_inner), k_outer_(k_outer) {}

    AnchoredMoments moments_;
    double k_inner_;
    double k_outer_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(DoubleBollinger, ostrel::DoubleBollinger::create(p.count(0), p.real(1), p.real(2)))
