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

// SMA(N) of the close scaled by 1 ± p, p a fraction.
class MaEnvelope {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<MaEnvelope, CoreError> create(std::uint64_t n, double p) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        if (auto e = multiplier_error(p)) return std::unexpected(*e);
        return MaEnvelope(n, p);
    }

    // upper, middle, lower.
    std::optional<std::array<double, 3>> update(double x) {
        if (!closes_.push(x)) return std::nullopt;
        if (!closes_.full()) return std::nullopt;
        const double sma = closes_.mean();
        return std::array<double, 3>{up_ * sma, sma, down_ * sma};
    }

    std::size_t warmup_period() const { return closes_.period(); }

private:
    MaEnvelope(std::uint64_t n, double p) : closes_(n, 16), up_(1.0 + p), down_(1.0 - p) {}

    RunningSum closes_;
    double up_;
    double down_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(MaEnvelope, ostrel::MaEnvelope::create(p.count(0), p.real(1)))
