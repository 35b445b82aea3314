#include <cmath>
#include <expected>
#include <optional>

#include "indicators/bands/stops/parabolic_sar.hpp"
#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"

namespace ostrel {
namespace {

// The parabolic SAR with separate long and short accelerations, an optional forced start
// (its sign the side, its magnitude the level) and a reversal offset; reported signed,
// +SAR while long and −SAR while short.
class SarExt {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<SarExt, CoreError> create(double start, double offset, SarAcceleration up,
                                                   SarAcceleration down) {
        if (!std::isfinite(start) || !std::isfinite(offset) || offset < 0.0)
            return std::unexpected(CoreError::zero_multiplier());
        for (const SarAcceleration& side : {up, down}) {
            // A non-finite initial acceleration would turn every SAR into NaN.
            if (!std::isfinite(side.init)) return std::unexpected(CoreError::zero_multiplier());
            if (auto e = multiplier_error(side.step)) return std::unexpected(*e);
            if (auto e = multiplier_error(side.max)) return std::unexpected(*e);
        }
        for (const SarAcceleration& side : {up, down})
            if (side.init > side.max)
                return std::unexpected(CoreError::invalid_period("acceleration init must be <= max"));
        return SarExt(ParabolicSar(ParabolicSar::Opening::Stand, start, up, down, offset));
    }

    std::optional<double> update(const Candle& c) {
        if (!sar_.push(HighLow{c.high, c.low})) return std::nullopt;
        return sar_.is_long() ? sar_.sar() : -sar_.sar();
    }

    std::size_t warmup_period() const { return 2; }

private:
    explicit SarExt(ParabolicSar sar) : sar_(sar) {}

    ParabolicSar sar_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(SarExt, ostrel::SarExt::create(p.real(0), p.real(1),
                                              ostrel::SarAcceleration{p.real(2), p.real(3), p.real(4)},
                                              ostrel::SarAcceleration{p.real(5), p.real(6), p.real(7)}))
