#pragma once

#include <compare>

namespace orvanta {

// A calendar date on the proleptic Gregorian calendar, without time of day.
struct Date {
    int year = 1;
    int month = 1;  // [1, 12]
    int day = 1;    // [1, 31]

    // Whether this is a day of the calendar that the date texts can write: month in
    // [1, 12], day in [1, days of that month], year in [1, 9999].
    constexpr bool ok() const noexcept;

    friend constexpr auto operator<=>(const Date&, const Date&) = default;
};

// The days of a month of the Gregorian calendar; 0 for a month outside [1, 12].
constexpr int DaysOfMonth(int year, int month) noexcept {
    if (month < 1 || month > 12) return 0;
    if (month == 2) return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0 ? 29 : 28;
    return 30 + ((month + (month >> 3)) & 1);  // 31 for odd months to July, even ones from August
}

constexpr bool Date::ok() const noexcept {
    return year >= 1 && year <= 9999 && day >= 1 && day <= DaysOfMonth(year, month);
}

}  // namespace orvanta
