#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/calendar.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// Open of the day over the last close of the previous day, repeated through the day.
class OvernightGap {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<OvernightGap, CoreError> create(std::int32_t offset_minutes) {
        return OvernightGap(offset_minutes);
    }

    std::optional<double> update(const Candle& c) {
        // Day numbers and calendar dates correspond one to one, so the number identifies the date.
        const std::int64_t day = local_day_number(c.ts, offset_minutes_);
        if (!day_ || *day_ != day) {
            if (previous_close_) gap_ = *previous_close_ == 0.0 ? 0.0 : c.open / *previous_close_ - 1.0;
            day_ = day;
        }
        previous_close_ = c.close;
        return gap_;
    }

    std::size_t warmup_period() const { return 2; }

private:
    explicit OvernightGap(std::int32_t offset_minutes) : offset_minutes_(offset_minutes) {}

    std::int32_t offset_minutes_;
    std::optional<std::int64_t> day_;
    std::optional<double> previous_close_;
    std::optional<double> gap_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(OvernightGap, OvernightGap::create(p.i32(0)))
