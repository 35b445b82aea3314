#include <expected>
#include <optional>

#include "indicators/bands/stops/parabolic_sar.hpp"
#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"

namespace ostrel {
namespace {

// Parabolic SAR with one acceleration setting for both sides; from the second candle on.
class Psar {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<Psar, CoreError> create(double af_start, double af_step, double af_max) {
        for (double v : {af_start, af_step, af_max})
            if (auto e = multiplier_error(v)) return std::unexpected(*e);
        if (af_max < af_start) return std::unexpected(CoreError::invalid_period("af_start must be <= af_max"));
        return Psar(SarAcceleration{af_start, af_step, af_max});
    }

    std::optional<double> update(const Candle& c) {
        if (!sar_.push(HighLow{c.high, c.low})) return std::nullopt;
        return sar_.sar();
    }

    std::size_t warmup_period() const { return 2; }

private:
    explicit Psar(SarAcceleration af) : sar_(ParabolicSar::Opening::Step, 0.0, af, af, 0.0) {}

    ParabolicSar sar_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Psar, ostrel::Psar::create(p.real(0), p.real(1), p.real(2)))
