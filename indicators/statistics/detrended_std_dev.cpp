#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/statistics/regression_window.hpp"

namespace ostrel {
namespace {

// Population deviation of the last N closes about their least-squares line.
class DetrendedStdDev {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<DetrendedStdDev, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 2) return std::unexpected(CoreError::invalid_period("detrended stddev needs period >= 2"));
        return DetrendedStdDev(period);
    }

    std::optional<double> update(double x) {
        if (!line_.push(x) || !line_.full()) return std::nullopt;
        const double n = static_cast<double>(line_.period());
        return std::sqrt(line_.residual_sum_squares() / n);
    }

    std::size_t warmup_period() const { return line_.period(); }

private:
    explicit DetrendedStdDev(std::size_t n) : line_(n) {}

    RegressionWindow line_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(DetrendedStdDev, ostrel::DetrendedStdDev::create(p.count(0)))
