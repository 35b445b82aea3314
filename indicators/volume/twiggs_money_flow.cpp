#include <algorithm>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/moving_averages/seed_average.hpp"
#include "indicators/volume/close_location.hpp"

namespace ostrel {
namespace {

// The simple average of the first N inputs, then avg += (x − avg)/N. A constant input leaves
// it unchanged, since x − avg is then exactly 0.
class TwiggsAverage {
public:
    explicit TwiggsAverage(std::uint64_t n) : n_(static_cast<double>(n)), seed_(n) {}

    std::optional<double> push(double x) {
        if (seeded_) {
            value_ += (x - value_) / n_;
            return value_;
        }
        const auto seed = seed_.push(x);
        if (!seed) return std::nullopt;
        value_ = *seed;
        seeded_ = true;
        return value_;
    }

private:
    double n_;
    double value_ = 0.0;
    bool seeded_ = false;
    SeedAverage seed_;
};

// Twiggs money flow: the volume placed by the close within the true range (high and low
// stretched to the previous close), smoothed, over the smoothed volume; 0 without volume.
class TwiggsMoneyFlow {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<TwiggsMoneyFlow, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return TwiggsMoneyFlow(n);
    }

    std::optional<double> update(const Candle& c) {
        if (!prev_close_) {
            prev_close_ = c.close;
            return std::nullopt;
        }
        const double high = std::max(c.high, *prev_close_);
        const double low = std::min(c.low, *prev_close_);
        prev_close_ = c.close;
        const auto flow = flow_.push(range_intensity(c.volume, high, low, c.close));
        const auto volume = volume_.push(c.volume);
        if (!flow || !volume) return std::nullopt;
        if (*volume == 0.0) return 0.0;
        return *flow / *volume;
    }

    std::size_t warmup_period() const { return static_cast<std::size_t>(period_) + 1; }

private:
    explicit TwiggsMoneyFlow(std::uint64_t n) : period_(n), flow_(n), volume_(n) {}

    std::uint64_t period_;
    TwiggsAverage flow_;
    TwiggsAverage volume_;
    std::optional<double> prev_close_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TwiggsMoneyFlow, ostrel::TwiggsMoneyFlow::create(p.count(0)))
