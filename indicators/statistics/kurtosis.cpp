#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/statistics/moment_window.hpp"

namespace ostrel {
namespace {

// Population excess kurtosis m4/m2² − 3 of the last N closes, without small-sample correction.
class Kurtosis {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Kurtosis, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 4) return std::unexpected(CoreError::invalid_period("kurtosis needs period >= 4"));
        return Kurtosis(period);
    }

    std::optional<double> update(double x) {
        if (!moments_.push(x) || !moments_.full()) return std::nullopt;
        const MomentWindow::Central c = moments_.central();
        // Zero variance, or one so small that its square underflows.
        const double scale = c.m2 * c.m2;
        if (scale == 0.0) return 0.0;
        return c.m4 / scale - 3.0;
    }

    std::size_t warmup_period() const { return moments_.period(); }

private:
    explicit Kurtosis(std::size_t n) : moments_(n) {}

    MomentWindow moments_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Kurtosis, ostrel::Kurtosis::create(p.count(0)))
