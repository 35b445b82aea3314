#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <utility>

#include "indicators/core/catalogue.hpp"
#include "indicators/moving_averages/alligator.hpp"

namespace ostrel {
namespace {

// Gator oscillator: the gap between jaw and teeth above the axis, the gap between teeth and
// lips below it.
class GatorOscillator {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<GatorOscillator, CoreError> create(std::uint64_t jaw, std::uint64_t teeth,
                                                            std::uint64_t lips) {
        auto lines = Alligator::create(jaw, teeth, lips);
        if (!lines) return std::unexpected(lines.error());
        return GatorOscillator(std::move(*lines));
    }

    // upper, lower.
    std::optional<std::array<double, 2>> update(const Candle& c) {
        const auto l = lines_.update(c);
        if (!l) return std::nullopt;
        return std::array<double, 2>{std::fabs((*l)[0] - (*l)[1]), -std::fabs((*l)[1] - (*l)[2])};
    }

    std::size_t warmup_period() const { return lines_.warmup_period(); }

private:
    explicit GatorOscillator(Alligator lines) : lines_(std::move(lines)) {}
    Alligator lines_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(GatorOscillator, ostrel::GatorOscillator::create(p.count(0), p.count(1), p.count(2)))
