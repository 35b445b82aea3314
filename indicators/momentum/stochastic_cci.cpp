#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/momentum/cci.hpp"
#include "indicators/momentum/sliding_extremes.hpp"

namespace ostrel {
namespace {

// Where the CCI stands within the range of its last N values, in percent; 50 when flat.
class StochasticCci {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<StochasticCci, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return StochasticCci(n);
    }

    std::optional<double> update(const Candle& c) {
        const auto cci = cci_.update(c);
        if (!cci) return std::nullopt;
        range_.push(*cci);
        if (!range_.full()) return std::nullopt;
        const double lo = range_.lowest();
        const double hi = range_.highest();
        if (hi == lo) return 50.0;
        return 100.0 * (*cci - lo) / (hi - lo);
    }

    std::size_t warmup_period() const { return static_cast<std::size_t>(2 * range_.period() - 1); }

private:
    explicit StochasticCci(std::uint64_t n) : cci_(n), range_(n) {}

    Cci cci_;
    SlidingExtremes range_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(StochasticCci, ostrel::StochasticCci::create(p.count(0)))
