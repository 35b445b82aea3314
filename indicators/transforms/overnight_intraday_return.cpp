#include <array>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/calendar.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// The day's overnight return (first open over the previous day's last close) and its
// return so far (close over the day's first open).
class OvernightIntradayReturn {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<OvernightIntradayReturn, CoreError> create(std::int32_t offset_minutes) {
        return OvernightIntradayReturn(offset_minutes);
    }

    std::optional<std::array<double, 2>> update(const Candle& c) {
        // Day numbers and calendar dates correspond one to one, so the number identifies the date.
        const std::int64_t day = local_day_number(c.ts, offset_minutes_);
        if (!day_ || *day_ != day) {
            if (previous_close_) overnight_ = *previous_close_ == 0.0 ? 0.0 : c.open / *previous_close_ - 1.0;
            first_open_ = c.open;
            day_ = day;
        }
        previous_close_ = c.close;
        if (!overnight_) return std::nullopt;
        const double intraday = first_open_ == 0.0 ? 0.0 : c.close / first_open_ - 1.0;
        return std::array<double, 2>{*overnight_, intraday};
    }

    std::size_t warmup_period() const { return 2; }

private:
    explicit OvernightIntradayReturn(std::int32_t offset_minutes) : offset_minutes_(offset_minutes) {}

    std::int32_t offset_minutes_;
    std::optional<std::int64_t> day_;
    std::optional<double> previous_close_;
    std::optional<double> overnight_;
    double first_open_ = 0.0;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(OvernightIntradayReturn, OvernightIntradayReturn::create(p.i32(0)))
