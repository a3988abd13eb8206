#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

// Dates and wall-clock readings on the proleptic Gregorian calendar: the one leap rule,
// the serial day count, the seconds of a reading, their texts and the years each method
// takes. Day counts after H. Hinnant, "chrono-compatible low-level date algorithms"
// (days_from_civil, civil_from_days); day 0 is 1970-01-01.
namespace orvanta {

// The classic method's years: the birth-details form lists these.
inline constexpr int kFirstFormYear = 1901;
inline constexpr int kLastFormYear = 2050;
// The precise method's local birth dates: 1800-01-01 .. 2399-12-31.
inline constexpr int kFirstBirthYear = 1800;
inline constexpr int kLastBirthYear = 2399;
// The periods of a birth reach 120 years on: the last year a local time of theirs can have.
inline constexpr int kLastPeriodYear = kLastBirthYear + 120;

// "Jan" .. "Dec", whatever the locale.
inline constexpr std::array<std::string_view, 12> kMonthAbbreviations = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// The Gregorian rule; `year & 3` is `year % 4` for negative years too (two's complement).
constexpr bool IsLeapYear(std::int64_t year) noexcept {
    return (year & 3) == 0 && (year % 100 != 0 || year % 400 == 0);
}

// The days of a month of the Gregorian calendar; 0 for a month outside [1, 12].
constexpr int DaysOfMonth(std::int64_t year, int month) noexcept {
    if (month < 1 || month > 12) return 0;
    if (month == 2) return IsLeapYear(year) ? 29 : 28;
    return 30 + ((month + (month >> 3)) & 1);  // 31 for odd months to July, even ones from August
}

// Whether year/month/day is a day of the calendar (any year).
constexpr bool IsCalendarDay(std::int64_t year, int month, int day) noexcept {
    return day >= 1 && day <= DaysOfMonth(year, month);
}

// A calendar date, without time of day.
struct Date {
    int year = 1;
    int month = 1;  // [1, 12]
    int day = 1;    // [1, 31]

    // Whether this is a day of the calendar that the date texts can write: month in
    // [1, 12], day in [1, days of that month], year in [1, 9999].
    constexpr bool ok() const noexcept { return year >= 1 && year <= 9999 && IsCalendarDay(year, month, day); }

    friend constexpr auto operator<=>(const Date&, const Date&) = default;
};

// A wall-clock reading: a date and a time of day, in no zone.
struct CivilDateTime {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Days since 1970-01-01 (negative before) of any year/month/day with month in [1, 12].
constexpr std::int64_t DaysFromCivil(std::int64_t year, int month, int day) noexcept {
    const std::int64_t y = year - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<int>(y - era * 400);                         // [0, 399]
    const int doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;  // [0, 365]
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;                    // [0, 146096]
    return era * 146097 + doe - 719468;
}
constexpr long DaysFromCivil(Date date) noexcept {
    return static_cast<long>(DaysFromCivil(date.year, date.month, date.day));
}

// The date of a day count; the year is wide enough for any count (tz files hold
// instants far outside the calendar's use).
struct WideDate {
    std::int64_t year;
    int month;  // [1, 12]
    int day;    // [1, 31]
};
constexpr WideDate WideDateOfDays(std::int64_t days) noexcept {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto doe = static_cast<int>(days - era * 146097);                  // [0, 146096]
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;  // [0, 399]
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);                // [0, 365]
    const int mp = (5 * doy + 2) / 153;                                     // [0, 11]
    const int day = doy - (153 * mp + 2) / 5 + 1;
    const int month = mp < 10 ? mp + 3 : mp - 9;
    return {yoe + era * 400 + (month <= 2 ? 1 : 0), month, day};
}
// For a count whose year is an int (about +-5.8 million years of 1970).
constexpr Date CivilFromDays(std::int64_t days) noexcept {
    const WideDate date = WideDateOfDays(days);
    return {static_cast<int>(date.year), date.month, date.day};
}

// Julian day = day count + kJulianDayOfEpoch (at 0h UT).
inline constexpr double kJulianDayOfEpoch = 2440587.5;

// The reading counted as if it were UTC: seconds since 1970-01-01T00:00:00, no leap seconds.
constexpr std::int64_t SecondsOfCivil(CivilDateTime civil) noexcept {
    return DaysFromCivil(civil.year, civil.month, civil.day) * 86400 + civil.hour * 3600 + civil.minute * 60 +
           civil.second;
}

constexpr CivilDateTime CivilOfSeconds(std::int64_t seconds) noexcept {
    const std::int64_t days = seconds / 86400 - (seconds % 86400 < 0 ? 1 : 0);  // floor
    const auto inDay = static_cast<int>(seconds - days * 86400);               // [0, 86399]
    const Date date = CivilFromDays(days);
    return {date.year, date.month, date.day, inDay / 3600, inDay / 60 % 60, inDay % 60};
}

// "2024-03-01T10:36:07"
inline std::string FormatCivil(CivilDateTime c) {
    char text[72];  // room for any six ints
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", c.year, c.month, c.day, c.hour, c.minute,
                  c.second);
    return text;
}

// "YYYY-MM-DD", "YYYY-MM-DDTHH:MM" or "YYYY-MM-DDTHH:MM:SS", exactly: a day of the
// calendar (any four-digit year) and a time of day; anything else is none.
constexpr std::optional<CivilDateTime> ReadCivilText(std::string_view text) noexcept {
    if (text.size() != 10 && text.size() != 16 && text.size() != 19) return std::nullopt;
    const auto digits = [text](std::size_t at, std::size_t count) {
        int value = 0;
        for (std::size_t i = at; i < at + count; ++i) {
            if (text[i] < '0' || text[i] > '9') return -1;
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    CivilDateTime c{digits(0, 4), digits(5, 2), digits(8, 2), 0, 0, 0};
    if (text[4] != '-' || text[7] != '-' || c.year < 0 || !IsCalendarDay(c.year, c.month, c.day)) return std::nullopt;
    if (text.size() == 10) return c;
    c.hour = digits(11, 2);
    c.minute = digits(14, 2);
    if (text[10] != 'T' || text[13] != ':' || c.hour < 0 || c.hour > 23 || c.minute < 0 || c.minute > 59) {
        return std::nullopt;
    }
    if (text.size() == 16) return c;
    c.second = digits(17, 2);
    if (text[16] != ':' || c.second < 0 || c.second > 59) return std::nullopt;
    return c;
}

// The `east` of the classic zone reading for a longitude typed as degrees and minutes:
// exactly 0 deg 0 min counts as west whichever hemisphere was chosen.
constexpr bool ClassicZoneIsEast(int longitudeDegrees, int longitudeMinutes, bool isEast) noexcept {
    return isEast && (longitudeDegrees != 0 || longitudeMinutes != 0);
}

}  // namespace orvanta
