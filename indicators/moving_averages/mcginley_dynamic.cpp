#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/moving_averages/seed_average.hpp"

namespace ostrel {
namespace {

// Average whose speed adjusts to the ratio of the close to the previous value.
class McGinleyDynamic {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<McGinleyDynamic, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return McGinleyDynamic(period);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        if (!seeded_) {
            const auto average = seed_.push(x);
            if (!average) return std::nullopt;
            value_ = *average;
            seeded_ = true;
            return value_;
        }
        if (x <= 0.0 || value_ <= 0.0) return value_;
        const double q = x / value_;
        const double r = q * q;
        const double next = value_ + (x - value_) / (r * r * (static_cast<double>(period_) * 0.6));
        // A ratio so extreme that the divisor underflows to 0 (or the step overflows) would
        // leave an infinite value that never recovers; keep the previous value instead.
        if (std::isfinite(next)) value_ = next;
        return value_;
    }

    std::size_t warmup_period() const { return period_; }

private:
    explicit McGinleyDynamic(std::size_t n) : period_(n), seed_(n) {}

    std::size_t period_;
    SeedAverage seed_;
    bool seeded_ = false;
    double value_ = 0.0;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(McGinleyDynamic, McGinleyDynamic::create(p.count(0)))
