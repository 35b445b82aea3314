#include <array>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/bands/wilder_atr.hpp"
#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"

namespace ostrel {
namespace {

// The close ± k·ATR(N).
class AtrBands {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<AtrBands, CoreError> create(std::uint64_t n, double k) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return AtrBands(n, k);
    }

    // upper, middle, lower.
    std::optional<std::array<double, 3>> update(const Candle& c) {
        const auto atr = atr_.update(c);
        if (!atr) return std::nullopt;
        const double width = k_ * *atr;
        return std::array<double, 3>{c.close + width, c.close, c.close - width};
    }

    std::size_t warmup_period() const { return atr_.warmup_period(); }

private:
    AtrBands(std::uint64_t n, double k) : atr_(n), k_(k) {}

    WilderAtr atr_;
    double k_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(AtrBands, ostrel::AtrBands::create(p.count(0), p.real(1)))
