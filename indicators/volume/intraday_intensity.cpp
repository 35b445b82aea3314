#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/volume/close_location.hpp"

namespace ostrel {
namespace {

// volume·(2·close − high − low)/(high − low), 0 over an empty range.
class IntradayIntensity {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<IntradayIntensity, CoreError> create() { return IntradayIntensity(); }

    std::optional<double> update(const Candle& c) { return range_intensity(c.volume, c.high, c.low, c.close); }

    std::size_t warmup_period() const { return 1; }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(IntradayIntensity, ostrel::IntradayIntensity::create())
