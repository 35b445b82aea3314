#include <cmath>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// Double exponential smoothing of a level and its trend; the output is their sum.
class HoltWinters {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<HoltWinters, CoreError> create(double alpha, double beta) {
        if (!(alpha > 0.0 && alpha <= 1.0))
            return std::unexpected(CoreError::invalid_period("HoltWinters alpha must be in (0.0, 1.0]"));
        if (!(beta > 0.0 && beta <= 1.0))
            return std::unexpected(CoreError::invalid_period("HoltWinters beta must be in (0.0, 1.0]"));
        return HoltWinters(alpha, beta);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        if (!first_) {
            first_ = x;
            return std::nullopt;
        }
        if (!started_) {
            started_ = true;
            level_ = x;
            trend_ = x - *first_;
            return level_ + trend_;
        }
        const double forecast = level_ + trend_;
        // A forecast met exactly keeps the level there; the rounded blend may drift from it.
        const double level = forecast == x ? x : forecast * (1.0 - alpha_) + x * alpha_;
        trend_ = (1.0 - beta_) * trend_ + (level - level_) * beta_;
        level_ = level;
        return level_ + trend_;
    }

    std::size_t warmup_period() const { return 2; }

private:
    HoltWinters(double alpha, double beta) : alpha_(alpha), beta_(beta) {}

    double alpha_;
    double beta_;
    std::optional<double> first_;
    bool started_ = false;
    double level_ = 0.0;
    double trend_ = 0.0;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(HoltWinters, HoltWinters::create(p.real(0), p.real(1)))
