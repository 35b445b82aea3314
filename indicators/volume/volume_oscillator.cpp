#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/momentum/macd_core.hpp"
#include "indicators/moving_averages/sma.hpp"

namespace ostrel {
namespace {

// Percentage gap of the fast simple average of the volume over the slow one; 0 while the slow
// average is 0. Both averages know a window of equal volumes, so a steady volume reads exactly 0.
class VolumeOscillator {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<VolumeOscillator, CoreError> create(std::uint64_t fast, std::uint64_t slow) {
        if (auto e = convergence_error("VolumeOscillator needs fast < slow", fast, slow))
            return std::unexpected(*e);
        // Both lengths are valid by now.
        return VolumeOscillator(*Sma::create(fast), *Sma::create(slow));
    }

    std::optional<double> update(const Candle& c) {
        const auto fast = fast_.update(c.volume);
        const auto slow = slow_.update(c.volume);
        if (!fast || !slow) return std::nullopt;
        if (*slow == 0.0) return 0.0;
        return (*fast - *slow) * 100.0 / *slow;
    }

    std::size_t warmup_period() const { return slow_.warmup_period(); }

private:
    VolumeOscillator(Sma fast, Sma slow) : fast_(fast), slow_(slow) {}

    Sma fast_;
    Sma slow_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(VolumeOscillator, ostrel::VolumeOscillator::create(p.count(0), p.count(1)))
