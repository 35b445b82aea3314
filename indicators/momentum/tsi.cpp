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

// True strength index: the one-bar change and its magnitude, each smoothed by EMA(r) then
// EMA(s); 100 times their ratio, 0 while nothing has moved.
class Tsi {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Tsi, CoreError> create(std::uint64_t r, std::uint64_t s) {
        if (auto e = period_error(r, s)) return std::unexpected(*e);
        return Tsi(r, s);
    }

    std::optional<double> update(double x) {
        const auto p = prev_.push(x);
        if (!p) return std::nullopt;
        const double d = x - *p;
        if (!std::isfinite(d)) return std::nullopt;
        const auto move = move_long_.push(d);
        const auto size = size_long_.push(std::fabs(d));
        if (!move || !size) return std::nullopt;
        const auto m = move_short_.push(*move);
        const auto a = size_short_.push(*size);
        if (!m || !a) return std::nullopt;
        const double numerator = *m * 100.0;
        return *a == 0.0 ? 0.0 : numerator / *a;
    }

    std::size_t warmup_period() const {
        return static_cast<std::size_t>(move_long_.period() + move_short_.period());
    }

private:
    Tsi(std::uint64_t r, std::uint64_t s) : move_long_(r), move_short_(s), size_long_(r), size_short_(s) {}

    ExpSmoother move_long_;
    ExpSmoother move_short_;
    ExpSmoother size_long_;
    ExpSmoother size_short_;
    PreviousClose prev_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Tsi, ostrel::Tsi::create(p.count(0), p.count(1)))
