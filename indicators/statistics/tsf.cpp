#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/statistics/regression_window.hpp"

namespace ostrel {
namespace {

// Time series forecast: the least-squares line of the last N closes, one step ahead.
class Tsf {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Tsf, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 2) return std::unexpected(CoreError::invalid_period("time series forecast needs period >= 2"));
        return Tsf(period);
    }

    std::optional<double> update(double x) {
        if (!line_.push(x) || !line_.full()) return std::nullopt;
        return line_.forecast();
    }

    std::size_t warmup_period() const { return line_.period(); }

private:
    explicit Tsf(std::size_t n) : line_(n) {}

    RegressionWindow line_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Tsf, ostrel::Tsf::create(p.count(0)))
