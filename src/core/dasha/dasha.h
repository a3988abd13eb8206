#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/base/fixed_text.h"
#include "core/dasha/calendar.h"
#include "core/dasha/lords.h"

namespace orvanta {

inline constexpr std::array<std::string_view, kLords> DashaLord = InCycleOrder(&Lord::name);
inline constexpr std::array<int, kLords> LordYears = InCycleOrder(&Lord::years);
// The Maha Dasha row titles, compared exactly wherever a lord is selected by its row.
inline constexpr std::array<std::string_view, kLords> LordTitles = InCycleOrder(&Lord::title);

// Index of the title in LordTitles (exact, case-sensitive), or -1.
int LordIndexOfTitle(std::string_view title);

// A duration in whole years, months (a twelfth of a year) and days (a thirtieth of a month).
struct YearsMonthsDays {
    int years = 0;
    int months = 0;  // [0, 11]
    int days = 0;    // [0, 29]

    friend bool operator==(const YearsMonthsDays&, const YearsMonthsDays&) = default;
};

// The decimal text of a double: rounded to 15 significant digits, never in exponent
// form, trailing zeros dropped, no point when nothing follows it; "." whatever the locale.
std::string DecimalText(double x);

// Splits x in [0, 20] years into years, months and days, all taken from the decimal
// text of x and of its months, not from their binary values: 15.999999999999998 reads
// "16" and gives 16 years; months whose text rounds up to 12 make a whole year.
YearsMonthsDays SplitYears(double x);

// The lengths of the 81 sub-periods, [Maha Dasha lord][position k in its table, whose
// sub-lord is (lord + k) mod 9]: SplitYears(years of the lord x years of the sub-lord
// / 120), the same for every chart, written out so that each step of a table is
// compiled for its own length.
inline constexpr std::array<std::array<YearsMonthsDays, kLords>, kLords> SubPeriodLengths = {{
    {{{0, 4, 27}, {1, 2, 0}, {0, 4, 6}, {0, 7, 0}, {0, 4, 27}, {1, 0, 18}, {0, 11, 6}, {1, 1, 8}, {0, 11, 27}}},  // Ketu
    {{{3, 3, 29}, {1, 0, 0}, {1, 8, 0}, {1, 2, 0}, {3, 0, 0}, {2, 8, 0}, {3, 2, 0}, {2, 9, 29}, {1, 2, 0}}},  // Venus
    {{{0, 3, 18}, {0, 6, 0}, {0, 4, 6}, {0, 10, 24}, {0, 9, 18}, {0, 11, 12}, {0, 10, 6}, {0, 4, 6}, {1, 0, 0}}},  // Sun
    {{{0, 10, 0}, {0, 7, 0}, {1, 6, 0}, {1, 3, 29}, {1, 6, 29}, {1, 5, 0}, {0, 7, 0}, {1, 8, 0}, {0, 6, 0}}},  // Moon
    {{{0, 4, 27}, {1, 0, 18}, {0, 11, 6}, {1, 1, 8}, {0, 11, 27}, {0, 4, 27}, {1, 2, 0}, {0, 4, 6}, {0, 7, 0}}},  // Mars
    {{{2, 8, 12}, {2, 4, 24}, {2, 10, 6}, {2, 6, 18}, {1, 0, 18}, {3, 0, 0}, {0, 10, 24}, {1, 6, 0}, {1, 0, 18}}},  // Rahu
    {{{2, 1, 17}, {2, 6, 11}, {2, 3, 6}, {0, 11, 6}, {2, 8, 0}, {0, 9, 18}, {1, 3, 29}, {0, 11, 6}, {2, 4, 24}}},  // Jupiter
    {{{3, 0, 2}, {2, 8, 9}, {1, 1, 8}, {3, 2, 0}, {0, 11, 12}, {1, 6, 29}, {1, 1, 8}, {2, 10, 6}, {2, 6, 11}}},  // Saturn
    {{{2, 4, 26}, {0, 11, 27}, {2, 9, 29}, {0, 10, 6}, {1, 5, 0}, {0, 11, 27}, {2, 6, 18}, {2, 3, 6}, {2, 8, 9}}},  // Mercury
}};

Date AddDuration(Date date, YearsMonthsDays d);       // years, then months, then days
Date SubtractDuration(Date date, YearsMonthsDays d);  // the same steps, negated

struct DashaTable {
    Date birthDate;
    std::int16_t moonArcMinutes = 0;     // [0, 21599]
    int nakshatraNumber = 1;             // [1, 27]
    FixedText<8> birthLord{};            // one of DashaLord
    int birthLordIndex = 0;              // [0, 8]
    std::int16_t elapsedArcMinutes = 0;  // [0, 799]
    double elapsedYears = 0;
    double balanceYears = 0;
    YearsMonthsDays balance;
    std::array<Date, kLords> mahaStart;  // indexed by lord
    std::array<Date, kLords> mahaEnd;
    std::array<std::array<Date, 9>, kLords> subStart;  // [Maha Dasha lord][position k]; sub-lord (L + k) % 9
    std::array<std::array<Date, 9>, kLords> subEnd;
};

// The Moon's place in whole arc-minutes read from its position text ("16° 42' 10\" Lib"):
// degrees and minutes as the text shows them, the seconds not read. Blanks around the
// text are allowed; anything else that the Moon routine cannot write (degrees beyond
// 29, minutes or seconds beyond 59, leading zeros, an unknown sign code) gives nothing.
std::optional<int> MoonArcMinutes(std::string_view moonText);

// The birth years whose dasha stays within the years a Date can hold: the first table
// starts up to 20 years before birth, the last period ends 120 years after it.
inline constexpr int kFirstDashaBirthYear = 21;
inline constexpr int kLastDashaBirthYear = 9878;

// Everything of the Vimshottari dasha from the birth date and the Moon's position
// text; nothing when the date is not ok() or its year lies outside the years above,
// or MoonArcMinutes refuses the text.
std::optional<DashaTable> CalculateDasha(Date birthDate, std::string_view moonText);
// The same into `table`, every member of which it writes; false (and `table` left as
// it was) where the above gives nothing.
bool CalculateDasha(Date birthDate, std::string_view moonText, DashaTable& table);

// The 162 sub-period dates in the order of the results window's cells: cell j
// (index j - 1) holds the table of the Maha Dasha at sequence position (j - 1) / 18.
std::array<Date, 162> LoadSubDashaText(const DashaTable& table);

}  // namespace orvanta
