#include <algorithm>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/calendar.hpp"
#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// Mean high − low range of the last N finished calendar days (shifted by the offset).
class AverageDailyRange {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<AverageDailyRange, CoreError> create(std::uint64_t period, std::int32_t offset_minutes) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return AverageDailyRange(period, offset_minutes);
    }

    std::optional<double> update(const Candle& c) {
        const std::int64_t day = local_day_number(c.ts, offset_minutes_);
        if (day_ && *day_ == day) {
            high_ = std::max(high_, c.high);
            low_ = std::min(low_, c.low);
        } else {
            if (day_) ranges_.push(high_ - low_);
            day_ = day;
            high_ = c.high;
            low_ = c.low;
        }
        // The days held, not N: the mean is reported as soon as one day has finished.
        if (ranges_.size() == 0) return std::nullopt;
        return ranges_.sum() / static_cast<double>(ranges_.size());
    }

    std::size_t warmup_period() const { return ranges_.period(); }

private:
    AverageDailyRange(std::size_t period, std::int32_t offset_minutes)
        : offset_minutes_(offset_minutes), ranges_(period) {}

    std::int32_t offset_minutes_;
    std::optional<std::int64_t> day_;
    double high_ = 0.0;
    double low_ = 0.0;
    RunningSum ranges_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(AverageDailyRange, ostrel::AverageDailyRange::create(p.count(0), p.i32(1)))
