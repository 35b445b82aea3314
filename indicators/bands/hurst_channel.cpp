#include <array>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/extremes.hpp"
#include "indicators/rolling/ring_window.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// SMA(N) of the close ± k times the N-candle high-low range.
class HurstChannel {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<HurstChannel, CoreError> create(std::uint64_t n, double k) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        if (auto e = multiplier_error(k)) return std::unexpected(*e);
        return HurstChannel(n, k);
    }

    // upper, middle, lower.
    std::optional<std::array<double, 3>> update(const Candle& c) {
        closes_.push(c.close);
        ranges_.push(c.high, c.low);
        if (!closes_.full()) return std::nullopt;
        const double hh = ranges_.highest_high();
        const double ll = ranges_.lowest_low();
        const double middle = closes_.mean();
        const double w = (hh - ll) * k_;
        return std::array<double, 3>{middle + w, middle, middle - w};
    }

    std::size_t warmup_period() const { return closes_.period(); }

private:
    HurstChannel(std::uint64_t n, double k) : closes_(n, 16), ranges_(n), k_(k) {}

    RunningSum closes_;
    HighLowWindow ranges_;
    double k_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(HurstChannel, ostrel::HurstChannel::create(p.count(0), p.real(1)))
