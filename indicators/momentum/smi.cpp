#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/momentum/sliding_extremes.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"
#include "indicators/rolling/midpoint.hpp"

namespace ostrel {
namespace {

// Stochastic momentum index: the close's distance from the middle of the K-candle range over
// half that range, both double-smoothed; a zero smoothed range repeats the last value.
class Smi {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<Smi, CoreError> create(std::uint64_t k, std::uint64_t r, std::uint64_t s) {
        if (auto e = period_error(k, r, s)) return std::unexpected(*e);
        return Smi(k, r, s);
    }

    std::optional<double> update(const Candle& c) {
        range_.push(c.high, c.low);
        if (!range_.full()) return std::nullopt;
        const double hh = range_.highest();
        const double ll = range_.lowest();
        const auto d1 = distance1_.push(c.close - midpoint(hh, ll));
        const auto r1 = range1_.push(hh - ll);
        const auto d2 = d1 ? distance2_.push(*d1) : std::nullopt;
        const auto r2 = r1 ? range2_.push(*r1) : std::nullopt;
        if (!d2 || !r2) return std::nullopt;
        if (*r2 > 0.0) {
            value_ = *d2 * 100.0 / (*r2 * 0.5);
            has_value_ = true;
        }
        if (!has_value_) return std::nullopt;
        return value_;
    }

    std::size_t warmup_period() const {
        return static_cast<std::size_t>(range_.period() + distance1_.period() + distance2_.period() - 2);
    }

private:
    Smi(std::uint64_t k, std::uint64_t r, std::uint64_t s)
        : range_(k), distance1_(r), distance2_(s), range1_(r), range2_(s) {}

    SlidingExtremes range_;
    ExpSmoother distance1_;
    ExpSmoother distance2_;
    ExpSmoother range1_;
    ExpSmoother range2_;
    double value_ = 0.0;
    bool has_value_ = false;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Smi, ostrel::Smi::create(p.count(0), p.count(1), p.count(2)))
