#include <cmath>
#include <expected>
#include <optional>

#include "indicators/bands/stops/reversing_stop.hpp"
#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"

namespace ostrel {
namespace {

// A stop p percent of the close away from it, trailing the close and flipping sides when
// the close crosses the previous stop.
class PercentageTrailingStop {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<PercentageTrailingStop, CoreError> create(double percent) {
        if (auto e = multiplier_error(percent)) return std::unexpected(*e);
        return PercentageTrailingStop(percent);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        const double b = std::fabs(x) * percent_ / 100.0;
        if (!stop_.started()) stop_.start(true, x - b);
        else stop_.test_then_trail(x, x - b, x + b);
        return stop_.stop();
    }

    std::size_t warmup_period() const { return 1; }

private:
    explicit PercentageTrailingStop(double percent) : percent_(percent) {}

    double percent_;
    ReversingStop stop_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(PercentageTrailingStop, ostrel::PercentageTrailingStop::create(p.real(0)))
