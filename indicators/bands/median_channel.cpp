#include <array>
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

// Median of the last N closes ± k times their median absolute deviation.
class MedianChannel {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<MedianChannel, CoreError> create(std::uint64_t n, double k) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        if (auto e = multiplier_error(k)) return std::unexpected(*e);
        return MedianChannel(n, k);
    }

    // upper, middle, lower.
    std::optional<std::array<double, 3>> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        window_.push(x);
        if (!window_.full()) return std::nullopt;
        const double median = window_.median();
        const double width = k_ * median_absolute_deviation(window_);
        return std::array<double, 3>{median + width, median, median - width};
    }

    std::size_t warmup_period() const { return window_.period(); }

private:
    MedianChannel(std::uint64_t n, double k) : window_(n), k_(k) {}

    SortedWindow window_;
    double k_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(MedianChannel, ostrel::MedianChannel::create(p.count(0), p.real(1)))
