#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <utility>

#include "indicators/core/catalogue.hpp"
#include "indicators/rolling/midpoint.hpp"
#include "indicators/rolling/ring_window.hpp"
#include "indicators/trend/adx.hpp"

namespace ostrel {
namespace {

// Average directional movement rating: the midpoint of the ADX and the ADX N − 1 steps earlier.
class Adxr {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<Adxr, CoreError> create(std::uint64_t period) {
        auto adx = Adx::create(period);
        if (!adx) return std::unexpected(adx.error());
        return Adxr(std::move(*adx));
    }

    std::optional<double> update(const Candle& c) {
        const auto dmi = adx_.update(c);
        if (!dmi) return std::nullopt;
        adx_values_.push((*dmi)[2]);
        if (!adx_values_.full()) return std::nullopt;
        return midpoint(adx_values_.newest(), adx_values_.oldest());
    }

    std::size_t warmup_period() const { return static_cast<std::size_t>(3 * adx_.period() - 1); }

private:
    explicit Adxr(Adx adx) : adx_(std::move(adx)), adx_values_(static_cast<std::size_t>(adx_.period())) {}

    Adx adx_;
    RingWindow<double> adx_values_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Adxr, ostrel::Adxr::create(p.count(0)))
