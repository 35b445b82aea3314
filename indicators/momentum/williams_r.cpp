#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/extremes.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

struct HighLow {
    double high;
    double low;
};

// Williams %R: the close's distance below the N-candle high as a negative percentage of the
// range; −50 on a zero range.
class WilliamsR {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<WilliamsR, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return WilliamsR(n);
    }

    std::optional<double> update(const Candle& c) {
        window_.push({c.high, c.low});
        if (!window_.full()) return std::nullopt;
        const double hh = window_max(window_, [](const HighLow& v) { return v.high; });
        const double ll = window_min(window_, [](const HighLow& v) { return v.low; });
        const double span = hh - ll;
        if (span == 0.0) return -50.0;
        return (hh - c.close) * -100.0 / span;
    }

    std::size_t warmup_period() const { return window_.capacity(); }

private:
    explicit WilliamsR(std::uint64_t n) : window_(n) {}

    RingWindow<HighLow> window_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(WilliamsR, ostrel::WilliamsR::create(p.count(0)))
