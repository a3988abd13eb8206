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
Date AddYears(Date date, int years) noexcept;
Date AddMonths(Date date, int months) noexcept;
Date AddDays(Date date, int days) noexcept;

// Whole days from `from` to `to` (positive when `to` is later).
long DaysBetween(Date from, Date to) noexcept;

// "Aug-18-1981": English month abbreviation whatever the locale, two-digit day, four-digit year.
// A date that is not ok() is written as the placeholder "***-**-****".
std::string FormatDisplayDate(Date date);
void FormatDisplayDate(Date date, std::string& out);
// "1981-08-18"; "****-**-**" for a date that is not ok().
std::string FormatIsoDate(Date date);

}  // namespace orvanta
