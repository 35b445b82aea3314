#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/bands/wilder_atr.hpp"
#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// SMA(N) of the close ± k·ATR(M).
class StarcBands {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<StarcBands, CoreError> create(std::uint64_t n, std::uint64_t m, double k) {
        if (auto e = period_error(n, m)) return std::unexpected(*e);
        return StarcBands(n, m, k);
    }

    // upper, middle, lower.
    std::optional<std::array<double, 3>> update(const Candle& c) {
        closes_.push(c.close);
        const auto atr = atr_.update(c);
        if (!closes_.full() || !atr) return std::nullopt;
        const double middle = closes_.mean();
        const double width = k_ * *atr;
        return std::array<double, 3>{middle + width, middle, middle - width};
    }

    std::size_t warmup_period() const { return std::max<std::size_t>(closes_.period(), atr_.period()); }

private:
    StarcBands(std::uint64_t n, std::uint64_t m, double k) : closes_(n, 16), atr_(m), k_(k) {}

    RunningSum closes_;
    WilderAtr atr_;
    double k_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(StarcBands, ostrel::StarcBands::create(p.count(0), p.count(1), p.real(2)))
