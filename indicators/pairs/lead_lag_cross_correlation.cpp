#include <array>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>
#include <utility>
#include <vector>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/pairs/sample_correlation.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// The signed Pearson correlation of largest magnitude between the reference's W values in the
// middle of the last W + 2L steps and the close's W values shifted by k = 0, −1, +1, … −L, +L.
// A later lag must be strictly stronger to win, so lag 0 wins ties, then the negative lag.
class LeadLagCrossCorrelation {
public:
    static constexpr InputKind input = InputKind::Pair;

    static std::expected<LeadLagCrossCorrelation, CoreError> create(std::uint64_t window, std::uint64_t max_lag) {
        if (auto e = period_error(window)) return std::unexpected(*e);
        if (window < 2) return std::unexpected(CoreError::invalid_period("lead-lag cross-correlation needs window >= 2"));
        if (max_lag < 1) return std::unexpected(CoreError::invalid_period("lead-lag cross-correlation needs max_lag >= 1"));
        // The rings hold W + 2L values: compared before adding, as 2L alone can wrap.
        if (max_lag > (MAX_PERIOD - window) / 2) return std::unexpected(CoreError::invalid_period(MAX_PERIOD_MESSAGE));
        return LeadLagCrossCorrelation(window, max_lag);
    }

    // correlation.
    std::optional<std::array<double, 1>> update(double x, double y) {
        ring_.push({x, y});
        if (!ring_.full()) return std::nullopt;
        xs_.clear();
        ys_.clear();
        ring_.for_each([&](const std::pair<double, double>& v) {
            xs_.push_back(v.first);
            ys_.push_back(v.second);
        });
        const double* reference = ys_.data() + lag_;
        double best = sample_correlation(xs_.data() + lag_, reference, window_);
        for (std::size_t k = 1; k <= lag_; ++k) {
            for (const double* close : {xs_.data() + (lag_ - k), xs_.data() + (lag_ + k)}) {
                const double c = sample_correlation(close, reference, window_);
                if (std::fabs(c) > std::fabs(best)) best = c;
            }
        }
        return std::array<double, 1>{best};
    }

    std::size_t warmup_period() const { return ring_.capacity(); }

private:
    LeadLagCrossCorrelation(std::size_t window, std::size_t lag)
        : ring_(window + 2 * lag), window_(window), lag_(lag) {}

    RingWindow<std::pair<double, double>> ring_;
    std::size_t window_;
    std::size_t lag_;
    std::vector<double> xs_, ys_;  // the ring oldest first
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(LeadLagCrossCorrelation, ostrel::LeadLagCrossCorrelation::create(p.count(0), p.count(1)))
