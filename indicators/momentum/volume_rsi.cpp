#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/moving_averages/wilder_smoother.hpp"

namespace ostrel {
namespace {

// Wilder's RSI applied to the candle volume.
class VolumeRsi {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<VolumeRsi, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return VolumeRsi(n);
    }

    std::optional<double> update(const Candle& c) {
        const double v = c.volume;
        if (!has_prev_) {
            prev_ = v;
            has_prev_ = true;
            return std::nullopt;
        }
        const double d = v - prev_;
        prev_ = v;
        const auto up = ups_.push(d > 0.0 ? d : 0.0);
        const auto down = downs_.push(d < 0.0 ? -d : 0.0);
        if (!up || !down) return std::nullopt;
        const double s = *up + *down;
        return s == 0.0 ? 50.0 : 100.0 * *up / s;
    }

    std::size_t warmup_period() const { return static_cast<std::size_t>(ups_.period()) + 1; }

private:
    explicit VolumeRsi(std::uint64_t n) : ups_(n), downs_(n) {}

    WilderSmoother ups_;
    WilderSmoother downs_;
    double prev_ = 0.0;
    bool has_prev_ = false;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(VolumeRsi, ostrel::VolumeRsi::create(p.count(0)))
