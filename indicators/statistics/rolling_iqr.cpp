#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/sorted_window.hpp"

namespace ostrel {
namespace {

// Interquartile range of the last N closes: the interpolated 0.75 quantile minus the 0.25 one.
class RollingIqr {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<RollingIqr, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return RollingIqr(period);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        window_.push(x);
        if (!window_.full()) return std::nullopt;
        return window_.quantile(0.75) - window_.quantile(0.25);
    }

    std::size_t warmup_period() const { return window_.period(); }

private:
    explicit RollingIqr(std::size_t n) : window_(n) {}

    SortedWindow window_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(RollingIqr, ostrel::RollingIqr::create(p.count(0)))
