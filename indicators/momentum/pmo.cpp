#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/momentum/previous_close.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"

namespace ostrel {
namespace {

// Price momentum oscillator: the one-bar percentage change smoothed with alpha 2/r, ten
// times that smoothed again with alpha 2/s; each stage starts at its first input.
class Pmo {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Pmo, CoreError> create(std::uint64_t r, std::uint64_t s) {
        if (auto e = period_error(r, s)) return std::unexpected(*e);
        if (r < 2 || s < 2) return std::unexpected(CoreError::invalid_period("PMO smoothing periods must be >= 2"));
        return Pmo(r, s);
    }

    std::optional<double> update(double x) {
        const auto p = prev_.push(x);
        if (!p) return std::nullopt;
        const double change = *p == 0.0 ? 0.0 : 100.0 * (x / *p - 1.0);
        const auto e1 = first_.push(change);  // a non-finite change is not taken in
        if (!e1) return std::nullopt;
        return second_.push(10.0 * *e1);
    }

    std::size_t warmup_period() const { return 2; }

private:
    Pmo(std::uint64_t r, std::uint64_t s)
        : first_(1, 2.0 / static_cast<double>(r)), second_(1, 2.0 / static_cast<double>(s)) {}

    // A seed of one input: the stage starts at its first value.
    ExpSmoother first_;
    ExpSmoother second_;
    PreviousClose prev_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Pmo, ostrel::Pmo::create(p.count(0), p.count(1)))
