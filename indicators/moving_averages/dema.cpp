#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"

namespace ostrel {
namespace {

// Double exponential average: 2·e1 − e2, e2 smoothing e1. A stage that produces
// nothing (or a non-finite value, which the next stage ignores) ends the step.
class Dema {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Dema, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return Dema(period);
    }

    std::optional<double> update(double x) {
        const auto e1 = e1_.push(x);
        if (!e1) return std::nullopt;
        const auto e2 = e2_.push(*e1);
        if (!e2) return std::nullopt;
        return (*e1 + *e1) - *e2;
    }

    std::size_t warmup_period() const { return 2 * e1_.period() - 1; }

private:
    explicit Dema(std::uint64_t n) : e1_(n), e2_(n) {}
    ExpSmoother e1_;
    ExpSmoother e2_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Dema, ostrel::Dema::create(p.count(0)))
