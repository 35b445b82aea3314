#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/statistics/moment_window.hpp"

namespace ostrel {
namespace {

// Population skewness m3/m2^1.5 of the last N closes, without small-sample correction.
class Skewness {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Skewness, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 3) return std::unexpected(CoreError::invalid_period("skewness needs period >= 3"));
        return Skewness(period);
    }

    std::optional<double> update(double x) {
        if (!moments_.push(x) || !moments_.full()) return std::nullopt;
        const MomentWindow::Central c = moments_.central();
        // Zero variance, or one so small that its power underflows.
        const double scale = std::sqrt(c.m2) * c.m2;
        if (scale == 0.0) return 0.0;
        return c.m3 / scale;
    }

    std::size_t warmup_period() const { return moments_.period(); }

private:
    explicit Skewness(std::size_t n) : moments_(n) {}

    MomentWindow moments_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Skewness, ostrel::Skewness::create(p.count(0)))
