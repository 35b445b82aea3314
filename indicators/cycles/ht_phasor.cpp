#include <array>
#include <cmath>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/cycles/hilbert_core.hpp"

namespace ostrel {
namespace {

// In-phase and quadrature components of the Hilbert transform.
class HtPhasor {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<HtPhasor, CoreError> create() { return HtPhasor(); }

    // {inphase, quadrature} once the homodyne step is reached.
    std::optional<std::array<double, 2>> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        if (core_.push(x) < HilbertCore::Stage::Homodyne) return std::nullopt;
        return std::array<double, 2>{core_.inphase(), core_.quadrature()};
    }
    std::size_t warmup_period() const { return 22; }

private:
    HilbertCore core_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(HtPhasor, ostrel::HtPhasor::create())
