#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"
#include "indicators/volume/signed_volume.hpp"

namespace ostrel {
namespace {

// Volume zone oscillator: 100·EMA(volume signed by the close's move)/EMA(volume), from the
// second candle; 0 while the volume average is 0.
class Vzo {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<Vzo, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return Vzo(n);
    }

    std::optional<double> update(const Candle& c) {
        if (!prev_close_) {
            prev_close_ = c.close;
            return std::nullopt;
        }
        const auto flow = signed_.push(signed_volume(c.close, *prev_close_, c.volume));
        const auto volume = volume_.push(c.volume);
        prev_close_ = c.close;
        if (!flow || !volume) return std::nullopt;
        if (*volume == 0.0) return 0.0;
        return 100.0 * *flow / *volume;
    }

    std::size_t warmup_period() const { return static_cast<std::size_t>(volume_.period()) + 1; }

private:
    explicit Vzo(std::uint64_t n) : signed_(n), volume_(n) {}

    ExpSmoother signed_;
    ExpSmoother volume_;
    std::optional<double> prev_close_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Vzo, ostrel::Vzo::create(p.count(0)))
