#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/calendar.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// Volume-weighted typical price restarted on each calendar day (shifted by the offset).
class SessionVwap {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<SessionVwap, CoreError> create(std::int32_t offset_minutes) {
        return SessionVwap(offset_minutes);
    }

    std::optional<double> update(const Candle& c) {
        const CivilDate day = calendar_day(c.ts, offset_minutes_);
        if (!session_ || !(*session_ == day)) {
            session_ = day;
            weighted_ = 0.0;
            volume_ = 0.0;
        }
        const double tp = (c.high + c.low + c.close) / 3.0;
        weighted_ += tp * c.volume;
        volume_ += c.volume;
        if (volume_ > 0.0) return weighted_ / volume_;
        return tp;
    }

    std::size_t warmup_period() const { return 1; }

private:
    explicit SessionVwap(std::int32_t offset_minutes) : offset_minutes_(offset_minutes) {}

    std::int32_t offset_minutes_;
    std::optional<CivilDate> session_;
    double weighted_ = 0.0;
    double volume_ = 0.0;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(SessionVwap, SessionVwap::create(p.i32(0)))
