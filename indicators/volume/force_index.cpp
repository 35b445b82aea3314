#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"

namespace ostrel {
namespace {

// Exponential average of the force (close − previous close)·volume, from the second candle.
class ForceIndex {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<ForceIndex, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return ForceIndex(n);
    }

    std::optional<double> update(const Candle& c) {
        if (!prev_close_) {
            prev_close_ = c.close;
            return std::nullopt;
        }
        const double force = (c.close - *prev_close_) * c.volume;
        // A force beyond the largest doubles drops the candle whole.
        if (!std::isfinite(force)) return std::nullopt;
        prev_close_ = c.close;
        return average_.push(force);
    }

    std::size_t warmup_period() const { return static_cast<std::size_t>(average_.period()) + 1; }

private:
    explicit ForceIndex(std::uint64_t n) : average_(n) {}

    ExpSmoother average_;
    std::optional<double> prev_close_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(ForceIndex, ostrel::ForceIndex::create(p.count(0)))
