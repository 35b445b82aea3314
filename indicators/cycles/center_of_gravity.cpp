#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/flat_run.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Weighted position of the last N closes, weight 1 for the newest up to N for the oldest.
class CenterOfGravity {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<CenterOfGravity, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return CenterOfGravity(n);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        window_.push(x);
        flat_.push(x);
        if (!window_.full()) return std::nullopt;
        const std::size_t n = window_.capacity();
        // Equal closes sit exactly at the centre; the weighted sums would leave residue.
        if (flat_.covers(n)) return 0.0;
        double weighted = 0.0, sum = 0.0;
        double weight = static_cast<double>(n);
        window_.for_each([&](double v) {
            weighted += weight * v;
            sum += v;
            weight -= 1.0;
        });
        if (std::fabs(sum) <= 2.220446049250313e-16) return 0.0;
        return (static_cast<double>(n) + 1.0) * 0.5 - weighted / sum;
    }
    std::size_t warmup_period() const { return window_.capacity(); }

private:
    explicit CenterOfGravity(std::uint64_t n) : window_(n) {}
    RingWindow<double> window_;
    FlatRun flat_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(CenterOfGravity, ostrel::CenterOfGravity::create(p.count(0)))
