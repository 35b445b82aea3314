#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/risk/tail_quantiles.hpp"

namespace ostrel {
namespace {

// Right tail over left tail: the 95% quantile over the magnitude of the 5% quantile.
class TailRatio {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<TailRatio, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 2) return std::unexpected(CoreError::invalid_period("tail ratio needs period >= 2"));
        return TailRatio(period);
    }

    std::optional<double> update(double r) {
        if (!std::isfinite(r)) return std::nullopt;
        window_.push(r);
        if (!window_.full()) return std::nullopt;
        return tail_ratio(window_).value_or(0.0);
    }

    std::size_t warmup_period() const { return window_.period(); }

private:
    explicit TailRatio(std::size_t n) : window_(n) {}

    SortedWindow window_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TailRatio, ostrel::TailRatio::create(p.count(0)))
