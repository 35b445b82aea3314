#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/statistics/regression_window.hpp"

namespace ostrel {
namespace {

// Percentage distance 100·(x − Tsf)/x of the newest close from the forecast of the window
// that ends at it. A close of 0 repeats the previous value.
class TsfOscillator {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<TsfOscillator, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (period < 2) return std::unexpected(CoreError::invalid_period("TSF oscillator needs period >= 2"));
        return TsfOscillator(period);
    }

    std::optional<double> update(double x) {
        if (!line_.push(x) || !line_.full()) return std::nullopt;
        if (x == 0.0) return last_;
        last_ = 100.0 * (x - line_.forecast()) / x;
        return last_;
    }

    std::size_t warmup_period() const { return line_.period(); }

private:
    explicit TsfOscillator(std::size_t n) : line_(n) {}

    RegressionWindow line_;
    std::optional<double> last_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TsfOscillator, ostrel::TsfOscillator::create(p.count(0)))
