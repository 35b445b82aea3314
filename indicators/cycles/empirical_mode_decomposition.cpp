#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/cycles/bandpass.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// The trend of a narrow band-pass around N: its mean over 2N bars.
class EmpiricalModeDecomposition {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<EmpiricalModeDecomposition, CoreError> create(std::uint64_t n, double fraction) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        if (n > MAX_PERIOD / 2) return std::unexpected(CoreError::invalid_period(MAX_PERIOD_MESSAGE));
        if (!(std::isfinite(fraction) && fraction > 0.0 && fraction <= 1.0))
            return std::unexpected(CoreError::invalid_period("fraction must be in (0, 1]"));
        return EmpiricalModeDecomposition(n);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        means_.push(bp_.push(x));
        if (steps_ < extremes_window) ++steps_;
        if (!means_.full() || steps_ < extremes_window) return std::nullopt;
        return means_.sum() / static_cast<double>(means_.period());
    }
    std::size_t warmup_period() const { return std::max(means_.period(), extremes_window); }

private:
    // The peak and valley averages span 50 bars; they are not output, but the value waits
    // for them.
    static constexpr std::size_t extremes_window = 50;

    explicit EmpiricalModeDecomposition(std::uint64_t n)
        : bp_(static_cast<double>(n), 0.1), means_(2 * n) {}
    BandpassStage bp_;
    RunningSum means_;
    std::size_t steps_ = 0;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(EmpiricalModeDecomposition,
               ostrel::EmpiricalModeDecomposition::create(p.count(0), p.real(1)))
