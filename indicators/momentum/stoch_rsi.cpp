#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/momentum/sliding_extremes.hpp"
#include "indicators/momentum/wilder_rsi.hpp"

namespace ostrel {
namespace {

// Where the RSI stands within its range over the last K values, in percent; 50 when the
// RSI did not move.
class StochRsi {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<StochRsi, CoreError> create(std::uint64_t n, std::uint64_t k) {
        if (auto e = period_error(n, k)) return std::unexpected(*e);
        return StochRsi(n, k);
    }

    std::optional<double> update(double x) {
        const auto rsi = rsi_.push(x);
        if (!rsi) return std::nullopt;
        range_.push(*rsi);
        if (!range_.full()) return std::nullopt;
        const double lo = range_.lowest();
        const double span = range_.highest() - lo;
        return span == 0.0 ? 50.0 : 100.0 * (*rsi - lo) / span;
    }

    std::size_t warmup_period() const { return static_cast<std::size_t>(rsi_.period() + range_.period()); }

private:
    StochRsi(std::uint64_t n, std::uint64_t k) : rsi_(n), range_(k) {}

    WilderRsi rsi_;
    SlidingExtremes range_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(StochRsi, ostrel::StochRsi::create(p.count(0), p.count(1)))
