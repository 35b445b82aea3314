#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Logarithmic return ln(x/x_{t−N}) over N closes; closes that are not finite and positive
// are ignored.
class LogReturn {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<LogReturn, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        // The ring holds N + 1 closes; compared without adding so that N = 2^64 − 1 cannot wrap.
        if (period >= MAX_PERIOD) return std::unexpected(CoreError::invalid_period(MAX_PERIOD_MESSAGE));
        return LogReturn(period);
    }

    std::optional<double> update(double x) {
        if (!(std::isfinite(x) && x > 0.0)) return std::nullopt;
        closes_.push(x);
        if (!closes_.full()) return std::nullopt;
        const double ratio = x / closes_.oldest();
        // Only a quotient beyond the double range takes the difference of logarithms.
        if (std::isinf(ratio) || ratio == 0.0) return std::log(x) - std::log(closes_.oldest());
        return std::log(ratio);
    }

    std::size_t warmup_period() const { return closes_.capacity(); }

private:
    explicit LogReturn(std::size_t n) : closes_(n + 1) {}

    RingWindow<double> closes_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(LogReturn, ostrel::LogReturn::create(p.count(0)))
