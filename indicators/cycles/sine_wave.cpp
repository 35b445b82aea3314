#include <cmath>
#include <numbers>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/cycles/dominant_cycle_phase.hpp"

namespace ostrel {
namespace {

// The sine of the dominant-cycle phase.
class SineWave {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<SineWave, CoreError> create() { return SineWave(); }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        const auto phase = phase_.push(x);
        if (!phase) return std::nullopt;
        return std::sin(*phase * std::numbers::pi / 180.0);
    }
    std::size_t warmup_period() const { return DominantCyclePhase::warmup; }

private:
    DominantCyclePhase phase_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(SineWave, ostrel::SineWave::create())
