#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/calendar.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// Mean close-to-close return of the days among the first F or the last L days of their
// month. A day's return is counted once the next day begins.
class TurnOfMonth {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<TurnOfMonth, CoreError> create(std::uint32_t first, std::uint32_t last,
                                                         std::int32_t offset_minutes) {
        if (first == 0 && last == 0) return std::unexpected(CoreError::zero_period());
        return TurnOfMonth(first, last, offset_minutes);
    }

    std::optional<double> update(const Candle& c) {
        // Day numbers and calendar dates correspond one to one, so the number identifies the date.
        const std::int64_t day = local_day_number(c.ts, offset_minutes_);
        if (day_ && *day_ != day) end_day();
        day_ = day;
        day_close_ = c.close;
        if (count_ == 0) return std::nullopt;
        return sum_ / static_cast<double>(count_);
    }

    std::size_t warmup_period() const { return 2; }

private:
    TurnOfMonth(std::uint32_t first, std::uint32_t last, std::int32_t offset_minutes)
        : first_(first), last_(last), offset_minutes_(offset_minutes) {}

    void end_day() {
        if (previous_close_ && counted(civil_from_days(*day_))) {
            sum_ += *previous_close_ == 0.0 ? 0.0 : day_close_ / *previous_close_ - 1.0;
            ++count_;
        }
        previous_close_ = day_close_;
    }

    bool counted(const CivilDate& date) const {
        const std::uint32_t length = days_in_month(date.year, date.month);
        const std::uint32_t tail_start = last_ > length ? 0 : length - last_;
        return date.day <= first_ || date.day > tail_start;
    }

    std::optional<std::int64_t> day_;
    std::optional<double> previous_close_;
    double day_close_ = 0.0;
    double sum_ = 0.0;
    std::uint64_t count_ = 0;
    std::uint32_t first_;
    std::uint32_t last_;
    std::int32_t offset_minutes_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TurnOfMonth, TurnOfMonth::create(p.u32(0), p.u32(1), p.i32(2)))
