#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// Elastic volume-weighted average: each candle moves the value by its share of the
// window's volume.
class Evwma {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<Evwma, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return Evwma(period);
    }

    std::optional<double> update(const Candle& c) {
        // Re-added exactly every N pushes, so the volume sum does not drift.
        volumes_.push(c.volume);
        if (!volumes_.full()) return std::nullopt;
        const double total = volumes_.sum();
        if (!(total > 0.0)) {
            if (!value_) value_ = c.close;
            return value_;
        }
        const double prev = value_.value_or(c.close);
        const double v = c.volume;
        // The weighted mean of two equal values is that value; the rounded one may miss it.
        value_ = prev == c.close ? c.close : (v * c.close + (total - v) * prev) / total;
        return value_;
    }

    std::size_t warmup_period() const { return volumes_.period(); }

private:
    explicit Evwma(std::size_t n) : volumes_(n, 1) {}

    RunningSum volumes_;
    std::optional<double> value_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Evwma, Evwma::create(p.count(0)))
