#pragma once

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "core/base/calendar.h"

namespace orvanta {

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
// The same 11 characters written to out[0 .. 10]; inline, as a run writes about 90.
inline void FormatDisplayDate(Date date, char* out) noexcept;
// "1981-08-18"; "****-**-**" for a date that is not ok().
std::string FormatIsoDate(Date date);

namespace calendar_detail {
constexpr Date Clamped(int year, int month, int day) noexcept {
    const int last = DaysOfMonth(year, month);
    return {year, month, day > last ? last : day};
}
// "Jan-01-" .. "Dec-31-", by (month - 1) * 32 + day: the first seven characters of a
// date text in one copy.
inline constexpr std::array<std::array<char, 8>, 12 * 32> kMonthDayTexts = [] {
    std::array<std::array<char, 8>, 12 * 32> texts{};
    for (int month = 0; month < 12; ++month) {
        for (int day = 0; day < 32; ++day) {
            auto& text = texts[static_cast<std::size_t>(month * 32 + day)];
            for (std::size_t i = 0; i < 3; ++i) text[i] = kMonthAbbreviations[static_cast<std::size_t>(month)][i];
            text[3] = '-';
            text[4] = static_cast<char>('0' + day / 10);
            text[5] = static_cast<char>('0' + day % 10);
            text[6] = '-';
        }
    }
    return texts;
}();

// The days of the months in a common year.
inline constexpr std::array<unsigned char, 12> kCommonMonthDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// The four digits of the years 1800 to 2199, where a dasha's dates lie; other years
// are written digit pair by digit pair.
inline constexpr int kFirstTabledYear = 1800;
inline constexpr std::array<std::array<char, 4>, 400> kYearTexts = [] {
    std::array<std::array<char, 4>, 400> texts{};
    for (int i = 0; i < 400; ++i) {
        int year = kFirstTabledYear + i;
        for (int digit = 3; digit >= 0; --digit, year /= 10) {
            texts[static_cast<std::size_t>(i)][static_cast<std::size_t>(digit)] = static_cast<char>('0' + year % 10);
        }
    }
    return texts;
}();

// FormatDisplayDate for every other date, ok() or not.
void FormatAnyDisplayDate(Date date, char* out) noexcept;
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

inline void FormatDisplayDate(Date date, char* text) noexcept {
    // The dasha's dates: days that the month has in every year, in the tabled years.
    // The month and day go in as one eight-byte copy whose last byte the year overwrites.
    const auto month = static_cast<unsigned>(date.month - 1);
    const auto day = static_cast<unsigned>(date.day - 1);
    const auto tabled = static_cast<unsigned>(date.year - calendar_detail::kFirstTabledYear);
    if (month < 12 && day < calendar_detail::kCommonMonthDays[month] && tabled < calendar_detail::kYearTexts.size()) {
        std::memcpy(text, calendar_detail::kMonthDayTexts[month * 32 + day + 1].data(), 8);
        std::memcpy(text + 7, calendar_detail::kYearTexts[tabled].data(), 4);
        return;
    }
    calendar_detail::FormatAnyDisplayDate(date, text);
}

}  // namespace orvanta
