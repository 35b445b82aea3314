#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Wave count 1..8 advanced by each new swing leg; swings are strict extremes at the middle of
// a window of 2k + 1 bars.
class TdDWave {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<TdDWave, CoreError> create(std::uint64_t k) {
        // A half-width of 0 has no neighbours to compare: no swing could ever form.
        if (k == 0) return std::unexpected(CoreError::zero_period());
        // 2k + 1 compared without computing it, so a huge k cannot wrap.
        if (k > (MAX_PERIOD - 1) / 2) return std::unexpected(CoreError::invalid_period(MAX_PERIOD_MESSAGE));
        return TdDWave(k);
    }

    std::optional<double> update(const Candle& c) {
        bars_.push(Span{c.high, c.low});
        if (bars_.full()) {
            const Span& mid = bars_[half_];
            bool top = true;
            bool bottom = true;
            for (std::size_t i = 0; i < bars_.size() && (top || bottom); ++i) {
                if (i == half_) continue;
                top = top && mid.high > bars_[i].high;
                bottom = bottom && mid.low < bars_[i].low;
            }
            // The legs' extremes are not part of the output, so only the direction is kept.
            if (top != bottom) {
                const Leg swing = top ? Leg::Up : Leg::Down;
                if (leg_ != swing) {
                    leg_ = swing;
                    wave_ = wave_ % 8 + 1;
                }
            }
        }
        if (wave_ == 0) return std::nullopt;
        return static_cast<double>(wave_);
    }

    // The earliest first leg: the window's first fill.
    std::size_t warmup_period() const { return bars_.capacity(); }

private:
    struct Span {
        double high;
        double low;
    };
    enum class Leg : std::uint8_t { None, Up, Down };

    explicit TdDWave(std::uint64_t k) : bars_(2 * k + 1), half_(k) {}

    RingWindow<Span> bars_;
    std::size_t half_;
    Leg leg_ = Leg::None;
    unsigned wave_ = 0;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TdDWave, TdDWave::create(p.count(0)))
