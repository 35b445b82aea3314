#include <algorithm>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/momentum/lag_window.hpp"
#include "indicators/moving_averages/weighted_window.hpp"

namespace ostrel {
namespace {

// Coppock curve: a linearly weighted average of the sum of two rates of change.
class Coppock {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Coppock, CoreError> create(std::uint64_t r1, std::uint64_t r2, std::uint64_t w) {
        if (auto e = period_error(r1, r2, w)) return std::unexpected(*e);
        if (auto e = LagWindow::check(r1)) return std::unexpected(*e);
        if (auto e = LagWindow::check(r2)) return std::unexpected(*e);
        return Coppock(r1, r2, w);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        const auto p1 = first_.push(x);
        const auto p2 = second_.push(x);
        if (!p1 || !p2) return std::nullopt;
        return average_.push(rate_of_change(x, *p1) + rate_of_change(x, *p2));
    }

    std::size_t warmup_period() const {
        return static_cast<std::size_t>(std::max(first_.lag(), second_.lag()) + average_.period());
    }

private:
    Coppock(std::uint64_t r1, std::uint64_t r2, std::uint64_t w) : first_(r1), second_(r2), average_(w) {}

    LagWindow first_;
    LagWindow second_;
    WeightedWindow average_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Coppock, ostrel::Coppock::create(p.count(0), p.count(1), p.count(2)))
