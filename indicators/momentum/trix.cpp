#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"

namespace ostrel {
namespace {

// One-step rate of change of a triple EMA(N) of the close; 0 from a base of 0.
class Trix {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Trix, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return Trix(n);
    }

    std::optional<double> update(double x) {
        const auto e1 = first_.push(x);
        if (!e1) return std::nullopt;
        const auto e2 = second_.push(*e1);
        if (!e2) return std::nullopt;
        const auto e3 = third_.push(*e2);
        if (!e3) return std::nullopt;
        const std::optional<double> prev = prev_;
        prev_ = *e3;
        if (!prev) return std::nullopt;
        return *prev == 0.0 ? 0.0 : (*e3 - *prev) * 100.0 / *prev;
    }

    std::size_t warmup_period() const { return 3 * static_cast<std::size_t>(first_.period()) - 1; }

private:
    explicit Trix(std::uint64_t n) : first_(n), second_(n), third_(n) {}

    ExpSmoother first_;
    ExpSmoother second_;
    ExpSmoother third_;
    std::optional<double> prev_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Trix, ostrel::Trix::create(p.count(0)))
