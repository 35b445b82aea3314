#include <array>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/calendar.hpp"
#include "indicators/core/catalogue.hpp"
#include "indicators/profile/price_extremes.hpp"

namespace ostrel {
namespace {

// Ranges of the day's three eight-hour sessions: hours 0–7, 8–15 and 16–23.
class SessionRange {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<SessionRange, CoreError> create(std::int32_t offset_minutes) {
        return SessionRange(offset_minutes);
    }

    std::optional<std::array<double, 3>> update(const Candle& c) {
        if (clock_.new_day(c))
            for (PriceExtremes& s : sessions_) s.reset();
        sessions_[hour_of_day(c.ts, clock_.offset_minutes()) / 8].add(c);
        return std::array<double, 3>{sessions_[0].range(), sessions_[1].range(), sessions_[2].range()};
    }

    std::size_t warmup_period() const { return 1; }

private:
    explicit SessionRange(std::int32_t offset_minutes) : clock_(offset_minutes) {}

    DayClock clock_;
    std::array<PriceExtremes, 3> sessions_{};
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(SessionRange, SessionRange::create(p.i32(0)))
