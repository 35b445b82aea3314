#include <cmath>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/cycles/dominant_cycle_phase.hpp"

namespace ostrel {
namespace {

// The dominant-cycle phase in degrees.
class HtDcPhase {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<HtDcPhase, CoreError> create() { return HtDcPhase(); }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        return phase_.push(x);
    }
    std::size_t warmup_period() const { return DominantCyclePhase::warmup; }

private:
    DominantCyclePhase phase_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(HtDcPhase, ostrel::HtDcPhase::create())
