#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <vector>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/anchored_moments.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Mean of the last N closes ± |mean| times the coverage quantile of the closes' relative
// deviations from that mean.
class BomarBands {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<BomarBands, CoreError> create(std::uint64_t n, double coverage) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        if (!(std::isfinite(coverage) && coverage > 0.0 && coverage <= 1.0))
            return std::unexpected(
                CoreError::invalid_parameter("bomar bands coverage must be a finite value in (0.0, 1.0]"));
        return BomarBands(n, coverage);
    }

    // upper, middle, lower.
    std::optional<std::array<double, 3>> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        window_.push(x);
        flat_.push(x);
        if (!window_.full()) return std::nullopt;
        // Identical closes: the summed mean may miss the close by an ulp, which would read
        // as a deviation; the bands are that close exactly.
        if (flat_.covers(window_.size())) {
            const double v = flat_.value();
            return std::array<double, 3>{v, v, v};
        }
        const double m = window_.fold(0.0, [](double acc, double v) { return acc + v; }) / n_;
        const double q = m == 0.0 ? 0.0 : deviation_quantile(m);
        const double width = std::fabs(m) * q;
        return std::array<double, 3>{m + width, m, m - width};
    }

    std::size_t warmup_period() const { return window_.capacity(); }

private:
    BomarBands(std::uint64_t n, double coverage)
        : window_(n), n_(static_cast<double>(n)), position_(static_cast<double>(n - 1) * coverage) {}

    // Only the two ranks around the position matter, so a selection replaces the full sort.
    double deviation_quantile(double m) {
        const double scale = std::fabs(m);
        scratch_.resize(window_.size());  // allocates once, when the window first fills
        std::size_t j = 0;
        window_.for_each([&](double v) { scratch_[j++] = std::fabs(v - m) / scale; });
        const std::size_t last = scratch_.size() - 1;
        const double fi = std::floor(position_);
        const auto i = static_cast<std::size_t>(fi);
        const auto at = scratch_.begin() + static_cast<std::ptrdiff_t>(std::min(i, last));
        std::nth_element(scratch_.begin(), at, scratch_.end());
        if (i >= last) return *at;
        const double lo = *at;
        const double hi = *std::min_element(at + 1, scratch_.end());
        return lo + (hi - lo) * (position_ - fi);
    }

    RingWindow<double> window_;
    FlatRun flat_;
    double n_;
    double position_;
    std::vector<double> scratch_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(BomarBands, ostrel::BomarBands::create(p.count(0), p.real(1)))
