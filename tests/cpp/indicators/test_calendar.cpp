#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "indicators/core/calendar.hpp"

using namespace ostrel;

namespace {

constexpr std::int64_t I64_MIN = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t I64_MAX = std::numeric_limits<std::int64_t>::max();
constexpr std::int32_t I32_MIN = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t I32_MAX = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t DAY_MS = 86400000;

struct DayCase {
    std::int64_t ts;
    std::int32_t offset;
    CivilDate date;
    std::uint32_t hour;
};

}  // namespace

TEST(Calendar, CalendarDayOfKnownInstants) {
    const std::int64_t leap_day = 951782400000;      // 2000-02-29 00:00 UTC
    const std::int64_t feb_28_1900 = -2203977600000;  // 1900-02-28 00:00 UTC
    const DayCase cases[] = {
        {0, 0, {1970, 1, 1}, 0},
        {-1, 0, {1969, 12, 31}, 23},
        {-999, 0, {1969, 12, 31}, 23},  // floor(-0.999 s) is -1 s
        {999, 0, {1970, 1, 1}, 0},
        {leap_day, 0, {2000, 2, 29}, 0},
        {leap_day - 1, 0, {2000, 2, 28}, 23},
        {leap_day + DAY_MS, 0, {2000, 3, 1}, 0},
        {feb_28_1900, 0, {1900, 2, 28}, 0},
        {feb_28_1900 + DAY_MS, 0, {1900, 3, 1}, 0},  // 1900 is not a leap year
        // Offsets move the day boundary both ways.
        {0, -1, {1969, 12, 31}, 23},
        {0, 1439, {1970, 1, 1}, 23},
        {0, 1440, {1970, 1, 2}, 0},
        {DAY_MS - 1, 1, {1970, 1, 2}, 0},
        {DAY_MS + 30 * 60000, -60, {1970, 1, 1}, 23},
        // Extremes of both arguments.
        {I64_MIN, I32_MIN, {-292279138, 4, 23}, 14},
        {I64_MIN, 0, {-292275055, 5, 16}, 16},
        {I64_MIN, I32_MAX, {-292270972, 6, 8}, 18},
        {I64_MAX, I32_MAX, {292283077, 9, 9}, 9},
        {I64_MAX, 0, {292278994, 8, 17}, 7},
        {I64_MAX, I32_MIN, {292274911, 7, 26}, 5},
    };
    for (const DayCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << "ts " << c.ts << " offset " << c.offset);
        const CivilDate d = calendar_day(c.ts, c.offset);
        EXPECT_EQ(d.year, c.date.year);
        EXPECT_EQ(d.month, c.date.month);
        EXPECT_EQ(d.day, c.date.day);
        EXPECT_EQ(hour_of_day(c.ts, c.offset), c.hour);
    }
}

TEST(Calendar, DayNumbersOfExtremeInstants) {
    EXPECT_EQ(local_day_number(I64_MIN, I32_MIN), -106753482476);
    EXPECT_EQ(local_day_number(I64_MAX, I32_MAX), 106753482475);
    EXPECT_EQ(local_day_number(-1, 0), -1);
}

TEST(Calendar, WholeDayRangeRoundTrips) {
    const CivilDate lowest{-25252734927764585, 6, 7};
    const CivilDate highest{25252734927768524, 7, 27};
    EXPECT_EQ(civil_from_days(I64_MIN), lowest);
    EXPECT_EQ(civil_from_days(I64_MAX), highest);
    for (std::int64_t d : {I64_MIN, I64_MIN + 1, I64_MAX, I64_MAX - 1, std::int64_t{-1}, std::int64_t{0},
                           std::int64_t{-719468}, std::int64_t{-719469}, std::int64_t{11016}})
        EXPECT_EQ(days_from_civil(civil_from_days(d)), d) << d;
}

// Walks four centuries day by day and checks each date follows the previous one by the
// month lengths and the leap-year rule.
TEST(Calendar, ConsecutiveDaysFollowTheMonthLengths) {
    const std::int64_t start = days_from_civil({1899, 12, 31});
    CivilDate prev = civil_from_days(start);
    ASSERT_EQ(prev, (CivilDate{1899, 12, 31}));
    for (std::int64_t d = start + 1; d <= start + 146097; ++d) {
        const CivilDate cur = civil_from_days(d);
        CivilDate want = prev;
        if (prev.day < days_in_month(prev.year, prev.month)) {
            ++want.day;
        } else if (prev.month < 12) {
            want = {prev.year, prev.month + 1, 1};
        } else {
            want = {prev.year + 1, 1, 1};
        }
        ASSERT_EQ(cur, want) << "day " << d;
        ASSERT_EQ(days_from_civil(cur), d);
        prev = cur;
    }
    EXPECT_EQ(prev, (CivilDate{2299, 12, 31}));
}

TEST(Calendar, LeapYearsAndMonthLengths) {
    struct Case {
        std::int64_t year;
        bool leap;
    };
    for (const Case c : {Case{1900, false}, Case{2000, true}, Case{2023, false}, Case{2024, true},
                         Case{0, true}, Case{-4, true}, Case{-100, false}, Case{-400, true}})
        EXPECT_EQ(is_leap_year(c.year), c.leap) << c.year;
    EXPECT_EQ(days_in_month(1900, 2), 28u);
    EXPECT_EQ(days_in_month(2000, 2), 29u);
    EXPECT_EQ(days_in_month(2023, 4), 30u);
    EXPECT_EQ(days_in_month(2023, 12), 31u);
}

TEST(Calendar, DayOfWeekCountsFromSunday) {
    EXPECT_EQ(day_of_week(0), 4u);                                 // 1970-01-01, Thursday
    EXPECT_EQ(day_of_week(-1), 3u);                                // 1969-12-31, Wednesday
    EXPECT_EQ(day_of_week(days_from_civil({2000, 2, 29})), 2u);    // Tuesday
    EXPECT_EQ(day_of_week(days_from_civil({2024, 6, 2})), 0u);     // Sunday
    EXPECT_EQ(day_of_week(I64_MIN), 3u);
    EXPECT_EQ(day_of_week(I64_MAX), 4u);
}
