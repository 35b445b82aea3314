#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/sorted_window.hpp"
#include "indicators/statistics/median_absolute_deviation.hpp"

namespace ostrel {
namespace {

// Median of the absolute deviations of the last N closes from their median, unscaled.
class MedianAbsoluteDeviation {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<MedianAbsoluteDeviation, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return MedianAbsoluteDeviation(period);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        window_.push(x);
        if (!window_.full()) return std::nullopt;
        return median_absolute_deviation(window_);
    }

    std::size_t warmup_period() const { return window_.period(); }

private:
    explicit MedianAbsoluteDeviation(std::size_t n) : window_(n) {}

    SortedWindow window_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(MedianAbsoluteDeviation, ostrel::MedianAbsoluteDeviation::create(p.count(0)))
