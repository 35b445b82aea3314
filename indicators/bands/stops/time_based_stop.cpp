#include <algorithm>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"

namespace ostrel {
namespace {

// The elapsed fraction of an N-candle holding period, reaching 1 at the N-th candle.
class TimeBasedStop {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<TimeBasedStop, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return TimeBasedStop(n);
    }

    std::optional<double> update(const Candle&) {
        // The count stops at N: nothing changes beyond it.
        if (count_ < period_) ++count_;
        return std::min(static_cast<double>(count_) / static_cast<double>(period_), 1.0);
    }

    std::size_t warmup_period() const { return 1; }

private:
    explicit TimeBasedStop(std::uint64_t n) : period_(n) {}

    std::uint64_t period_;
    std::uint64_t count_ = 0;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TimeBasedStop, ostrel::TimeBasedStop::create(p.count(0)))
