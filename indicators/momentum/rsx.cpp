#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"

namespace ostrel {
namespace {

// Three cascaded double-smoothing stages with f = 3/(N + 2).
class RsxCascade {
public:
    RsxCascade(double f, double e) : f_(f), e_(e) {}

    double push(double in) {
        for (Stage& s : stages_) {
            s.s1 = in * f_ + s.s1 * e_;
            s.s2 = s.s2 * e_ + f_ * s.s1;
            in = s.s1 * 1.5 - s.s2 * 0.5;
        }
        return in;
    }

private:
    struct Stage {
        double s1 = 0.0;
        double s2 = 0.0;
    };
    double f_;
    double e_;
    std::array<Stage, 3> stages_{};
};

// A smoothed RSI: the momentum and its magnitude pass through the same cascade from the
// first change on; their ratio maps to [0, 100], 50 while nothing has moved.
class Rsx {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Rsx, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return Rsx(n);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        if (!has_prev_) {
            prev_ = x;
            has_prev_ = true;
            return std::nullopt;
        }
        const double m = x - prev_;
        if (!std::isfinite(m)) return std::nullopt;
        prev_ = x;
        const double mm = momentum_.push(m);
        const double aa = magnitude_.push(std::fabs(m));
        if (changes_ < period_) ++changes_;
        if (changes_ < period_) return std::nullopt;
        const double rsx = aa > 0.0 ? (mm / aa + 1.0) * 50.0 : 50.0;
        return std::clamp(rsx, 0.0, 100.0);
    }

    std::size_t warmup_period() const { return static_cast<std::size_t>(period_) + 1; }

private:
    explicit Rsx(std::uint64_t n)
        : period_(n),
          momentum_(3.0 / (static_cast<double>(n) + 2.0), 1.0 - 3.0 / (static_cast<double>(n) + 2.0)),
          magnitude_(3.0 / (static_cast<double>(n) + 2.0), 1.0 - 3.0 / (static_cast<double>(n) + 2.0)) {}

    std::uint64_t period_;
    RsxCascade momentum_;
    RsxCascade magnitude_;
    std::uint64_t changes_ = 0;
    double prev_ = 0.0;
    bool has_prev_ = false;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Rsx, ostrel::Rsx::create(p.count(0)))
