#include <array>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/profile/price_extremes.hpp"

namespace ostrel {
namespace {

// Running high and low of the current calendar day.
class SessionHighLow {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<SessionHighLow, CoreError> create(std::int32_t offset_minutes) {
        return SessionHighLow(offset_minutes);
    }

    std::optional<std::array<double, 2>> update(const Candle& c) {
        if (clock_.new_day(c)) day_.reset();
        day_.add(c);
        return std::array<double, 2>{day_.high, day_.low};
    }

    std::size_t warmup_period() const { return 1; }

private:
    explicit SessionHighLow(std::int32_t offset_minutes) : clock_(offset_minutes) {}

    DayClock clock_;
    PriceExtremes day_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(SessionHighLow, SessionHighLow::create(p.i32(0)))
