#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/ring_window.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// Detrended price oscillator: the close N/2 + 1 bars back minus the N-close simple average.
class Dpo {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Dpo, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return Dpo(period);
    }

    std::optional<double> update(double x) {
        if (!sma_.push(x)) return std::nullopt;
        lagged_.push(x);
        if (!sma_.full() || !lagged_.full()) return std::nullopt;
        return lagged_.oldest() - sma_.mean();
    }

    std::size_t warmup_period() const { return std::max(sma_.period(), lagged_.capacity()); }

private:
    // The lag ring holds the close N/2 + 1 bars back and every close after it.
    explicit Dpo(std::uint64_t period)
        : sma_(static_cast<std::size_t>(period), 16), lagged_(static_cast<std::size_t>(period / 2 + 2)) {}

    RunningSum sma_;
    RingWindow<double> lagged_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Dpo, ostrel::Dpo::create(p.count(0)))
