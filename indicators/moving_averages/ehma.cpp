#include <algorithm>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"

namespace ostrel {
namespace {

// Exponential Hull average: EMA(round(√N)) of 2·EMA(N/2) − EMA(N).
class Ehma {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Ehma, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return Ehma(period);
    }

    std::optional<double> update(double x) {
        const auto half = half_.push(x);
        const auto full = full_.push(x);
        if (!half || !full) return std::nullopt;
        const double raw = 2.0 * *half - *full;
        return smooth_.push(raw);  // a non-finite raw value is not taken in
    }

    std::size_t warmup_period() const { return full_.period() + smooth_.period() - 1; }

private:
    explicit Ehma(std::uint64_t n)
        : half_(std::max<std::uint64_t>(n / 2, 1)),
          full_(n),
          smooth_(std::max<std::uint64_t>(
              static_cast<std::uint64_t>(std::round(std::sqrt(static_cast<double>(n)))), 1)) {}
    ExpSmoother half_;
    ExpSmoother full_;
    ExpSmoother smooth_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Ehma, ostrel::Ehma::create(p.count(0)))
