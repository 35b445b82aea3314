#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/sorted_window.hpp"

namespace ostrel {
namespace {

// The q-quantile of the last N closes, interpolated between closest ranks.
class RollingQuantile {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<RollingQuantile, CoreError> create(std::uint64_t period, double q) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (!(std::isfinite(q) && q >= 0.0 && q <= 1.0))
            return std::unexpected(
                CoreError::invalid_parameter("rolling quantile must be a finite value in [0.0, 1.0]"));
        return RollingQuantile(period, q);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        window_.push(x);
        if (!window_.full()) return std::nullopt;
        return window_.quantile(q_);
    }

    std::size_t warmup_period() const { return window_.period(); }

private:
    RollingQuantile(std::size_t n, double q) : window_(n), q_(q) {}

    SortedWindow window_;
    double q_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(RollingQuantile, ostrel::RollingQuantile::create(p.count(0), p.real(1)))
