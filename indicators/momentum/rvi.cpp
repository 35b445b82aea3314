#include <array>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// Relative vigor index: the 1-2-2-1 weighted body (close − open) over the equally weighted
// range (high − low), each summed over N. A window without range repeats the last value;
// its sum is known to be exactly 0 rather than a residue of earlier ranges.
class Rvi {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<Rvi, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return Rvi(n);
    }

    std::optional<double> update(const Candle& c) {
        bodies_[next_] = c.close - c.open;
        ranges_[next_] = c.high - c.low;
        next_ = (next_ + 1) % 4;
        if (held_ < 4) ++held_;
        if (held_ < 4) return std::nullopt;
        // Slot next_ is now the oldest of the four; the weights are symmetric.
        const auto weighted = [&](const std::array<double, 4>& v) {
            return (v[next_] + 2.0 * v[(next_ + 1) % 4] + 2.0 * v[(next_ + 2) % 4] + v[(next_ + 3) % 4]) / 6.0;
        };
        const double num = weighted(bodies_);
        const double den = weighted(ranges_);
        if (!std::isfinite(num) || !std::isfinite(den)) return std::nullopt;
        numerators_.push(num);
        denominators_.push(den);
        if (!numerators_.full()) return std::nullopt;
        const double d = denominators_.sum();
        if (d > 0.0) {
            value_ = numerators_.sum() / d;
            has_value_ = true;
        }
        if (!has_value_) return std::nullopt;
        return value_;
    }

    std::size_t warmup_period() const { return numerators_.period() + 3; }

private:
    explicit Rvi(std::uint64_t n) : numerators_(n), denominators_(n) {}

    std::array<double, 4> bodies_{};
    std::array<double, 4> ranges_{};
    unsigned next_ = 0;
    unsigned held_ = 0;
    RunningSum numerators_;
    RunningSum denominators_;
    double value_ = 0.0;
    bool has_value_ = false;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Rvi, ostrel::Rvi::create(p.count(0)))
