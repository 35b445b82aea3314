#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/extremes.hpp"
#include "indicators/rolling/midpoint.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

struct FractalPivot {
    double index;
    double price;
    bool high;
};

// median, upper, lower: the line from the oldest of the last three fractal pivots through
// the midpoint of the other two, and its parallels through them.
class AndrewsPitchfork {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<AndrewsPitchfork, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        if (n > (MAX_PERIOD - 1) / 2) return std::unexpected(CoreError::invalid_period(MAX_PERIOD_MESSAGE));
        return AndrewsPitchfork(n);
    }

    std::optional<std::array<double, 3>> update(const Candle& c) {
        const std::uint64_t bar = bars_++;
        window_.push(c.high, c.low);
        if (window_.full()) find_pivot(static_cast<double>(bar - side_));
        if (count_ < 3) return std::nullopt;

        const FractalPivot& p1 = pivots_[0];
        const FractalPivot& p2 = pivots_[1];
        const FractalPivot& p3 = pivots_[2];
        const double m_index = midpoint(p2.index, p3.index);
        const double m_price = midpoint(p2.price, p3.price);
        const double s = (m_price - p1.price) / (m_index - p1.index);
        const double median = p1.price + s * (static_cast<double>(bar) - p1.index);
        const double o2 = p2.price - (p1.price + s * (p2.index - p1.index));
        const double o3 = p3.price - (p1.price + s * (p3.index - p1.index));
        return std::array<double, 3>{median, median + std::max(o2, o3), median + std::min(o2, o3)};
    }

    std::size_t warmup_period() const { return window_.capacity(); }

private:
    explicit AndrewsPitchfork(std::uint64_t n) : side_(n), window_(2 * n + 1) {}

    // The middle candle is a pivot when its high (low) is strictly beyond every other one.
    void find_pivot(double index) {
        const HighLow mid = window_[side_];
        bool top = true, bottom = true;
        for (std::size_t i = 0; i < window_.size(); ++i) {
            if (i == side_) continue;
            top = top && window_[i].high < mid.high;
            bottom = bottom && window_[i].low > mid.low;
        }
        if (top != bottom) record({index, top ? mid.high : mid.low, top});
    }

    // Pivots alternate: a repeat of the last kind only moves it to a more extreme price.
    void record(const FractalPivot& p) {
        if (count_ > 0 && pivots_[count_ - 1].high == p.high) {
            FractalPivot& last = pivots_[count_ - 1];
            if (p.high ? p.price > last.price : p.price < last.price) last = p;
            return;
        }
        if (count_ == 3) {
            std::shift_left(pivots_.begin(), pivots_.end(), 1);
            --count_;
        }
        pivots_[count_++] = p;
    }

    std::size_t side_;
    HighLowWindow window_;
    std::array<FractalPivot, 3> pivots_{};
    std::size_t count_ = 0;
    std::uint64_t bars_ = 0;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(AndrewsPitchfork, ostrel::AndrewsPitchfork::create(p.count(0)))
