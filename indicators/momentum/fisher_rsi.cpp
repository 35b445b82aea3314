#include <algorithm>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/momentum/wilder_rsi.hpp"

namespace ostrel {
namespace {

// The Fisher transform of the RSI rescaled to (−1, 1), clamped short of ±1 so the logarithm
// stays finite.
class FisherRsi {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<FisherRsi, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return FisherRsi(n);
    }

    std::optional<double> update(double x) {
        const auto rsi = rsi_.push(x);
        if (!rsi) return std::nullopt;
        const double v = std::clamp((*rsi - 50.0) / 50.0, -0.999, 0.999);
        return 0.5 * std::log((1.0 + v) / (1.0 - v));
    }

    std::size_t warmup_period() const { return rsi_.warmup_period(); }

private:
    explicit FisherRsi(std::uint64_t n) : rsi_(n) {}

    WilderRsi rsi_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(FisherRsi, ostrel::FisherRsi::create(p.count(0)))
