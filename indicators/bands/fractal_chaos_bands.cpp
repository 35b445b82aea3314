#include <array>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/extremes.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// The last strict fractal high and low: the middle candle of 2N + 1 whose high (low) is
// strictly above (below) every other one. Each band holds until the next fractal of its kind.
class FractalChaosBands {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<FractalChaosBands, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        // The ring holds 2N + 1 candles; compared before doubling so nothing wraps.
        if (n > (MAX_PERIOD - 1) / 2) return std::unexpected(CoreError::invalid_period(MAX_PERIOD_MESSAGE));
        return FractalChaosBands(n);
    }

    // upper, lower.
    std::optional<std::array<double, 2>> update(const Candle& c) {
        window_.push(c.high, c.low);
        if (window_.full()) scan();
        if (!upper_ || !lower_) return std::nullopt;
        return std::array<double, 2>{*upper_, *lower_};
    }

    std::size_t warmup_period() const { return window_.capacity(); }

private:
    explicit FractalChaosBands(std::uint64_t n) : window_(2 * n + 1), middle_(n) {}

    void scan() {
        const HighLow mid = window_[middle_];
        bool high = true;
        bool low = true;
        for (std::size_t i = 0; i < window_.size() && (high || low); ++i) {
            if (i == middle_) continue;
            const HighLow& v = window_[i];
            if (!(mid.high > v.high)) high = false;
            if (!(mid.low < v.low)) low = false;
        }
        if (high) upper_ = mid.high;
        if (low) lower_ = mid.low;
    }

    HighLowWindow window_;
    std::size_t middle_;
    std::optional<double> upper_;
    std::optional<double> lower_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(FractalChaosBands, ostrel::FractalChaosBands::create(p.count(0)))
