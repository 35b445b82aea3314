#pragma once

#include <cstdint>
#include <limits>

namespace ostrel {

// Proleptic Gregorian calendar arithmetic on day numbers counted from 1970-01-01 = day 0.
// Every function is total over its integer domain: no input overflows.

struct CivilDate {
    std::int64_t year = 1970;
    std::uint32_t month = 1;  // 1..12
    std::uint32_t day = 1;    // 1..31
    friend constexpr bool operator==(const CivilDate&, const CivilDate&) = default;
};

inline constexpr std::int64_t SECONDS_PER_DAY = 86400;

// Division and remainder rounding toward minus infinity; b > 0.
constexpr std::int64_t floor_div(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return a % b < 0 ? q - 1 : q;
}
constexpr std::int64_t floor_mod(std::int64_t a, std::int64_t b) {
    const std::int64_t r = a % b;
    return r < 0 ? r + b : r;
}

// floor(ts / 1000) + offset·60 seconds. The first term stays within ±9.3e15 and the second
// within ±1.3e11, so the sum cannot leave the 64-bit range; the offset is widened before
// the multiplication, which would overflow 32 bits.
constexpr std::int64_t local_seconds(std::int64_t ts_ms, std::int32_t offset_minutes) {
    return floor_div(ts_ms, 1000) + static_cast<std::int64_t>(offset_minutes) * 60;
}

constexpr std::int64_t local_day_number(std::int64_t ts_ms, std::int32_t offset_minutes) {
    return floor_div(local_seconds(ts_ms, offset_minutes), SECONDS_PER_DAY);
}

// 0 ... 23.
constexpr std::uint32_t hour_of_day(std::int64_t ts_ms, std::int32_t offset_minutes) {
    return static_cast<std::uint32_t>(floor_mod(local_seconds(ts_ms, offset_minutes), SECONDS_PER_DAY) / 3600);
}

constexpr bool is_leap_year(std::int64_t year) {
    return floor_mod(year, 4) == 0 && (floor_mod(year, 100) != 0 || floor_mod(year, 400) == 0);
}

// month 1..12.
constexpr std::uint32_t days_in_month(std::int64_t year, std::uint32_t month) {
    constexpr std::uint32_t lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && is_leap_year(year) ? 29 : lengths[month - 1];
}

// 0 = Sunday ... 6 = Saturday (1970-01-01 was a Thursday).
constexpr std::uint32_t day_of_week(std::int64_t day_number) {
    return static_cast<std::uint32_t>((floor_mod(day_number, 7) + 4) % 7);
}

namespace calendar_detail {
// Years are counted from March 1 so the leap day ends the year; 400 years are 146097 days.
// Day 0 of that count (0000-03-01) lies 719468 = 4·146097 + 135080 days before 1970-01-01.
inline constexpr std::int64_t ERA_DAYS = 146097;
inline constexpr std::int64_t EPOCH_ERAS = 4;
inline constexpr std::int64_t EPOCH_REST = 135080;
}  // namespace calendar_detail

constexpr CivilDate civil_from_days(std::int64_t day_number) {
    using namespace calendar_detail;
    // Adds the epoch shift split into whole eras and a rest, so INT64_MAX does not overflow.
    std::int64_t era = floor_div(day_number, ERA_DAYS) + EPOCH_ERAS;
    std::int64_t doe = floor_mod(day_number, ERA_DAYS) + EPOCH_REST;
    if (doe >= ERA_DAYS) {
        doe -= ERA_DAYS;
        ++era;
    }
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const auto day = static_cast<std::uint32_t>(doy - (153 * mp + 2) / 5 + 1);
    const auto month = static_cast<std::uint32_t>(mp < 10 ? mp + 3 : mp - 9);
    const std::int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    return {year, month, day};
}

// Inverse of civil_from_days; the date must be valid and its day number must fit 64 bits
// (true of every date civil_from_days returns).
constexpr std::int64_t days_from_civil(const CivilDate& d) {
    using namespace calendar_detail;
    const std::int64_t y = d.year - (d.month <= 2 ? 1 : 0);
    const std::int64_t era = floor_div(y, 400);
    const std::int64_t yoe = y - era * 400;
    const std::int64_t mp = d.month > 2 ? d.month - 3 : d.month + 9;
    const std::int64_t doy = (153 * mp + 2) / 5 + d.day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    // era·146097 alone may pass INT64_MAX by up to the epoch shift for the last eras.
    if (era > 0) return (era - EPOCH_ERAS - 1) * ERA_DAYS + (doe + ERA_DAYS - EPOCH_REST);
    return era * ERA_DAYS + (doe - EPOCH_ERAS * ERA_DAYS - EPOCH_REST);
}

// The calendar day of a candle: the date of floor(ts / 1000) + offset·60 seconds.
constexpr CivilDate calendar_day(std::int64_t ts_ms, std::int32_t offset_minutes) {
    return civil_from_days(local_day_number(ts_ms, offset_minutes));
}

}  // namespace ostrel
