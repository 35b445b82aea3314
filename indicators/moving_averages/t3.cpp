#include <array>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"

namespace ostrel {
namespace {

// Six cascaded exponential averages combined with the volume-factor coefficients.
class T3 {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<T3, CoreError> create(std::uint64_t period, double v) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (!std::isfinite(v) || v < 0.0 || v > 1.0)
            return std::unexpected(CoreError::invalid_period("T3 volume factor must be a finite value in [0.0, 1.0]"));
        return T3(period, v);
    }

    std::optional<double> update(double x) {
        std::optional<double> stage = x;
        for (ExpSmoother& e : stages_) {
            stage = e.push(*stage);
            if (!stage) return std::nullopt;
        }
        const double e3 = stages_[2].value();
        const double e4 = stages_[3].value();
        const double e5 = stages_[4].value();
        const double e6 = stages_[5].value();
        // The coefficients sum to one only in exact arithmetic; keep a constant series exact.
        if (e3 == e4 && e4 == e5 && e5 == e6) return e3;
        return c4_ * e3 + ((c2_ * e5 + c1_ * e6) + c3_ * e4);
    }

    std::size_t warmup_period() const { return 6 * stages_[0].period() - 5; }

private:
    T3(std::uint64_t n, double v)
        : stages_{ExpSmoother(n), ExpSmoother(n), ExpSmoother(n), ExpSmoother(n), ExpSmoother(n), ExpSmoother(n)} {
        const double v2 = v * v;
        const double v3 = v2 * v;
        c1_ = -v3;
        c2_ = 3.0 * v2 + 3.0 * v3;
        c3_ = -6.0 * v2 - 3.0 * v - 3.0 * v3;
        c4_ = 1.0 + 3.0 * v + v3 + 3.0 * v2;
    }

    std::array<ExpSmoother, 6> stages_;
    double c1_ = 0.0;
    double c2_ = 0.0;
    double c3_ = 0.0;
    double c4_ = 0.0;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(T3, ostrel::T3::create(p.count(0), p.real(1)))
