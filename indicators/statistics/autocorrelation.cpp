#include <cmath>
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

// Lag-k autocorrelation of the last N closes about their mean, recomputed over the whole
// window at every step.
class Autocorrelation {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Autocorrelation, CoreError> create(std::uint64_t period, std::uint64_t lag) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (lag < 1) return std::unexpected(CoreError::invalid_period("autocorrelation lag must be >= 1"));
        if (period <= lag) return std::unexpected(CoreError::invalid_period("autocorrelation needs period > lag"));
        return Autocorrelation(period, lag);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        window_.push(x);
        flat_.push(x);
        if (!window_.full()) return std::nullopt;
        // A flat window's mean may not come out as its value, which would correlate residue.
        if (flat_.covers(window_.size())) return 0.0;

        dev_.clear();
        window_.for_each([&](double v) { dev_.push_back(v); });
        const std::size_t n = dev_.size();
        double sum = 0.0;
        for (double v : dev_) sum += v;
        const double mean = sum / static_cast<double>(n);
        double den = 0.0;
        for (double& v : dev_) {
            v -= mean;
            den += v * v;
        }
        if (den == 0.0) return 0.0;
        double num = 0.0;
        for (std::size_t i = 0; i + lag_ < n; ++i) num += dev_[i] * dev_[i + lag_];
        return num / den;
    }

    std::size_t warmup_period() const { return window_.capacity(); }

private:
    Autocorrelation(std::size_t n, std::size_t lag) : window_(n), lag_(lag) {}

    RingWindow<double> window_;
    std::size_t lag_;
    FlatRun flat_;
    std::vector<double> dev_;  // deviations of the window, oldest first; grows once to N
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Autocorrelation, ostrel::Autocorrelation::create(p.count(0), p.count(1)))
