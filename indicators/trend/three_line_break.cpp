#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/extremes.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Three-line break over the last N line closes: a close beyond the last line in the current
// direction adds a line; a reversal needs a close beyond every listed line. The value is the
// direction once there is one.
class ThreeLineBreak {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<ThreeLineBreak, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return ThreeLineBreak(period);
    }

    std::optional<double> update(const Candle& c) {
        const double x = c.close;
        if (lines_.empty()) {
            lines_.push(x);
            return std::nullopt;
        }
        const double last = lines_.newest();
        if (direction_ < 0.0) {
            if (x < last) {
                lines_.push(x);
            } else if (x > window_max(lines_)) {
                lines_.push(x);
                direction_ = 1.0;
            }
        } else if (x > last) {
            lines_.push(x);
            direction_ = 1.0;
        } else if (x < window_min(lines_)) {
            lines_.push(x);
            direction_ = -1.0;
        }
        if (direction_ == 0.0) return std::nullopt;
        return direction_;
    }

    std::size_t warmup_period() const { return 2; }

private:
    explicit ThreeLineBreak(std::uint64_t period) : lines_(static_cast<std::size_t>(period)) {}

    RingWindow<double> lines_;
    double direction_ = 0.0;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(ThreeLineBreak, ostrel::ThreeLineBreak::create(p.count(0)))
