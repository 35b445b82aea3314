#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/pairs/least_squares.hpp"
#include "indicators/pairs/window_check.hpp"
#include "indicators/rolling/midpoint.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Hasbrouck's information share of the close: a two-equation error-correction model fitted
// over the last N observations, each from three consecutive pairs, and the midpoint of the
// upper and lower bounds of the share. Any degenerate fit gives 0.5.
class HasbrouckInformationShare {
public:
    static constexpr InputKind input = InputKind::Pair;

    static std::expected<HasbrouckInformationShare, CoreError> create(std::uint64_t period) {
        if (auto e = window_error(period, 6, "information share needs period >= 6")) return std::unexpected(*e);
        return HasbrouckInformationShare(period);
    }

    std::optional<double> update(double x, double y) {
        if (seen_ < 2) {
            shift(x, y);
            return std::nullopt;
        }
        const Observation o{x - x1_, y - y1_, x1_ - y1_, x1_ - x2_, y1_ - y2_};
        // Differences of values near the largest doubles overflow; the pair is skipped.
        if (!(std::isfinite(o.dx) && std::isfinite(o.dy) && std::isfinite(o.z) && std::isfinite(o.dx1) &&
              std::isfinite(o.dy1)))
            return std::nullopt;
        shift(x, y);
        window_.push(o);
        if (!window_.full()) return std::nullopt;
        return share();
    }

    std::size_t warmup_period() const { return window_.capacity() + 2; }

private:
    struct Observation {
        double dx, dy, z, dx1, dy1;
    };

    explicit HasbrouckInformationShare(std::size_t n) : window_(n) {}

    void shift(double x, double y) {
        x2_ = x1_;
        y2_ = y1_;
        x1_ = x;
        y1_ = y;
        ++seen_;
    }

    double share() {
        constexpr double fallback = 0.5;
        const std::size_t n = window_.size();
        auto regressors = [&](std::size_t t, double* row) -> const Observation& {
            const Observation& o = window_[t];
            row[0] = 1.0;
            row[1] = o.z;
            row[2] = o.dx1;
            row[3] = o.dy1;
            return o;
        };
        if (!fit_.fit(4, n, [&](std::size_t t, double* row) { return regressors(t, row).dx; })) return fallback;
        std::array<double, 4> bx;
        std::copy_n(fit_.coefficients().begin(), 4, bx.begin());
        if (!fit_.fit(4, n, [&](std::size_t t, double* row) { return regressors(t, row).dy; })) return fallback;
        const auto& by = fit_.coefficients();
        double sxx = 0.0, syy = 0.0, sxy = 0.0;
        double row[4];
        for (std::size_t t = 0; t < n; ++t) {
            const Observation& o = regressors(t, row);
            double fx = 0.0, fy = 0.0;
            for (std::size_t i = 0; i < 4; ++i) {
                fx += bx[i] * row[i];
                fy += by[i] * row[i];
            }
            const double ex = o.dx - fx;
            const double ey = o.dy - fy;
            sxx += ex * ex;
            syy += ey * ey;
            sxy += ex * ey;
        }
        const double count = static_cast<double>(n);
        const double var_x = sxx / count, var_y = syy / count, cov = sxy / count;
        if (!(var_x > 0.0 && var_y > 0.0)) return fallback;
        const double ax = bx[1], ay = by[1];
        const double big_x = ay * ay * var_x + ax * ax * var_y - 2.0 * ax * ay * cov;
        if (!(big_x > 0.0)) return fallback;
        const double sx = std::sqrt(var_x), sy = std::sqrt(var_y);
        const double upper_term = ay * sx - ax * cov / sx;
        const double lower_term = ay * cov / sy - ax * sy;
        const double upper_ratio = upper_term * upper_term / big_x;
        const double lower_ratio = lower_term * lower_term / big_x;
        // An overflowed bound leaves the share undefined; std::min and std::max would hide its NaN.
        if (!(std::isfinite(upper_ratio) && std::isfinite(lower_ratio))) return fallback;
        const double upper = std::min(1.0, upper_ratio);
        const double lower = std::min(1.0, std::max(0.0, 1.0 - lower_ratio));
        return midpoint(upper, lower);
    }

    RingWindow<Observation> window_;
    LeastSquares fit_{LeastSquares::Pivoting::Partial};
    double x1_ = 0.0, y1_ = 0.0, x2_ = 0.0, y2_ = 0.0;  // the previous pair and the one before it
    std::size_t seen_ = 0;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(HasbrouckInformationShare, ostrel::HasbrouckInformationShare::create(p.count(0)))
