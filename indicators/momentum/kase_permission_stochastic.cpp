#include <array>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/momentum/sliding_extremes.hpp"
#include "indicators/moving_averages/exp_smoother.hpp"

namespace ostrel {
namespace {

// A raw N-candle stochastic (50 on a zero range) smoothed by EMA(M) into the fast line and
// again into the slow line.
class KasePermissionStochastic {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<KasePermissionStochastic, CoreError> create(std::uint64_t n, std::uint64_t m) {
        if (auto e = period_error(n, m)) return std::unexpected(*e);
        return KasePermissionStochastic(n, m);
    }

    // fast, slow.
    std::optional<std::array<double, 2>> update(const Candle& c) {
        range_.push(c.high, c.low);
        if (!range_.full()) return std::nullopt;
        const double hh = range_.highest();
        const double ll = range_.lowest();
        const double raw = hh > ll ? (c.close - ll) * 100.0 / (hh - ll) : 50.0;
        const auto fast = fast_.push(raw);
        if (!fast) return std::nullopt;
        const auto slow = slow_.push(*fast);
        if (!slow) return std::nullopt;
        return std::array<double, 2>{*fast, *slow};
    }

    std::size_t warmup_period() const { return static_cast<std::size_t>(range_.period() + 2 * fast_.period() - 2); }

private:
    KasePermissionStochastic(std::uint64_t n, std::uint64_t m) : range_(n), fast_(m), slow_(m) {}

    SlidingExtremes range_;
    ExpSmoother fast_;
    ExpSmoother slow_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(KasePermissionStochastic, ostrel::KasePermissionStochastic::create(p.count(0), p.count(1)))
