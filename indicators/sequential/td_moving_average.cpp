#include <array>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/moving_averages/sma.hpp"
#include "indicators/rolling/midpoint.hpp"

namespace ostrel {
namespace {

// Two simple averages of the bar midpoints, reported once the longer one is full.
class TdMovingAverage {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<TdMovingAverage, CoreError> create(std::uint64_t st1, std::uint64_t st2) {
        if (st1 == 0 || st2 == 0) return std::unexpected(CoreError::zero_period());
        if (st1 >= st2)
            return std::unexpected(
                CoreError::invalid_period("TD moving average ST1 period must be strictly less than ST2"));
        auto fast = Sma::create(st1);
        if (!fast) return std::unexpected(fast.error());
        auto slow = Sma::create(st2);
        if (!slow) return std::unexpected(slow.error());
        return TdMovingAverage(*fast, *slow);
    }

    std::optional<std::array<double, 2>> update(const Candle& k) {
        const double mid = midpoint(k.high, k.low);
        const auto fast = st1_.update(mid);
        const auto slow = st2_.update(mid);
        if (!fast || !slow) return std::nullopt;
        return std::array<double, 2>{*fast, *slow};
    }

    std::size_t warmup_period() const { return st2_.warmup_period(); }

private:
    TdMovingAverage(Sma st1, Sma st2) : st1_(std::move(st1)), st2_(std::move(st2)) {}
    Sma st1_;
    Sma st2_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TdMovingAverage, TdMovingAverage::create(p.count(0), p.count(1)))
