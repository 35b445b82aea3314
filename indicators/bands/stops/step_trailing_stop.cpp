#include <cmath>
#include <expected>
#include <optional>

#include "indicators/bands/stops/reversing_stop.hpp"
#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"

namespace ostrel {
namespace {

// A trailing stop on a grid of step s: at least one step below the close while long, one
// step above it while short, flipping when the close crosses the standing stop.
class StepTrailingStop {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<StepTrailingStop, CoreError> create(double step) {
        if (auto e = multiplier_error(step)) return std::unexpected(*e);
        return StepTrailingStop(step);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        const double below = std::floor((x - s_) / s_) * s_;
        const double above = std::ceil((x + s_) / s_) * s_;
        if (!stop_.started()) stop_.start(true, below);
        else stop_.test_then_trail(x, below, above);
        return stop_.stop();
    }

    std::size_t warmup_period() const { return 1; }

private:
    explicit StepTrailingStop(double step) : s_(step) {}

    double s_;
    ReversingStop stop_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(StepTrailingStop, ostrel::StepTrailingStop::create(p.real(0)))
