#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/moving_averages/sma.hpp"
#include "indicators/volume/williams_ad_line.hpp"

namespace ostrel {
namespace {

// The Williams accumulation/distribution line less its 13-candle simple average.
class AdOscillator {
public:
    static constexpr InputKind input = InputKind::Candle;
    static constexpr std::uint64_t AVERAGE = 13;

    static std::expected<AdOscillator, CoreError> create() {
        auto average = Sma::create(AVERAGE);
        if (!average) return std::unexpected(average.error());
        return AdOscillator(*average);
    }

    std::optional<double> update(const Candle& c) {
        const auto line = line_.update(c);
        if (!line) return std::nullopt;
        const auto average = average_.update(*line);
        if (!average) return std::nullopt;
        return *line - *average;
    }

    // The line starts on the second candle.
    std::size_t warmup_period() const { return average_.warmup_period() + 1; }

private:
    explicit AdOscillator(Sma average) : average_(average) {}

    WilliamsAdLine line_;
    Sma average_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(AdOscillator, ostrel::AdOscillator::create())
