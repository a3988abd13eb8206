#pragma once

#include <string>

#include "base/date.h"

namespace orvanta {

// Days since 1970-01-01 (negative before), and back.
long DaysFromCivil(Date date) noexcept;
Date CivilFromDays(long days) noexcept;

// 0 for a month outside [1, 12].
int DaysInMonth(int year, int month) noexcept;

// Calendar steps, for a date that is ok() and results that stay within its years. Years and months keep the day of month and clamp a day the
// target month lacks to its last day (31 August + 6 months = end of February);
// each step clamps on its own, so a day lost by clamping is not restored later.
constexpr Date AddYears(Date date, int years) noexcept;
constexpr Date AddMonths(Date date, int months) noexcept;
inline Date AddDays(Date date, int days) noexcept;

// Whole days from `from` to `to` (positive when `to` is later).
long DaysBetween(Date from, Date to) noexcept;

// "Aug-18-1981": English month abbreviation whatever the locale, two-digit day, four-digit year.
// A date that is not ok() is written as the placeholder "***-**-****".
std::string FormatDisplayDate(Date date);
void FormatDisplayDate(Date date, std::string& out);
// The same 11 characters written to out[0 .. 10].
void FormatDisplayDate(Date date, char* out) noexcept;
// "1981-08-18"; "****-**-**" for a date that is not ok().
std::string FormatIsoDate(Date date);

namespace calendar_detail {
constexpr Date Clamped(int year, int month, int day) noexcept {
    const int last = DaysOfMonth(year, month);
    return {year, month, day > last ? last : day};
}
}  // namespace calendar_detail

constexpr Date AddYears(Date date, int years) noexcept {
    return calendar_detail::Clamped(date.year + years, date.month, date.day);
}

constexpr Date AddMonths(Date date, int months) noexcept {
    if (months >= 0 && months <= 12) {  // the dasha's steps: no division needed
        int month = date.month + months;
        int year = date.year;
        if (month > 12) {
            month -= 12;
            ++year;
        }
        return calendar_detail::Clamped(year, month, date.day);
    }
    const int serial = date.year * 12 + (date.month - 1) + months;  // months since year 0
    const int year = serial >= 0 ? serial / 12 : (serial - 11) / 12;
    return calendar_detail::Clamped(year, serial - year * 12 + 1, date.day);
}

// A step of less than two months forward walks the months instead of going through
// the day count and back.
inline Date AddDays(Date date, int days) noexcept {
    if (days >= 0 && days <= 56) {
        int day = date.day + days;
        int month = date.month;
        int year = date.year;
        for (int last = DaysOfMonth(year, month); day > last; last = DaysOfMonth(year, month)) {
            day -= last;
            if (++month > 12) {
                month = 1;
                ++year;
            }
        }
        return {year, month, day};
    }
    return CivilFromDays(DaysFromCivil(date) + days);
}

}  // namespace orvanta
