#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/periods/precise_chart.h"

namespace orvanta {

// The year lengths that programs of this field count the periods in, by name.
struct YearLength {
    std::string_view name;
    double days;
};
inline constexpr std::array<YearLength, 5> kYearLengths{{
    {"julian", 365.25},        // the default: the year of the classic tables
    {"gregorian", 365.2425},   // the mean calendar year
    {"tropical", 365.24219},   // equinox to equinox
    {"sidereal", 365.256363},  // the Sun's return to the same star
    {"savana", 360},           // twelve months of thirty civil days
}};
std::optional<double> YearDaysOfName(std::string_view name);
std::string_view YearLengthName(double days);  // empty for a length without a name

// What moves a period date between programs: the ayanamsa, the year length, the Moon's position.
struct Convention {
    Ayanamsa ayanamsa = Ayanamsa::Lahiri;
    double yearDays = kDefaultYearDays;
    MoonPosition moonPosition = MoonPosition::Apparent;
};
// The grid compared: four ayanamsas x the five named years x both Moon positions, the
// ayanamsa outermost and the Moon innermost.
std::vector<Convention> ComparedConventions();

// One convention's dates for the birth; times are seconds from the birth's whole UTC second.
struct ConventionRow {
    Convention convention;
    int birthLord = 0;               // index in DashaLord
    CalendarAge balance;             // local birth date to the first Maha Dasha start after birth
    int firstMahaLord = 0;
    double firstMahaStart = 0;
    std::vector<int> runningLords;   // Maha, Antar, Pratyantar on the day asked; empty outside the cycle
    double differenceSeconds = 0;    // firstMahaStart minus that of the line's convention
    double moonSiderealLongitude = 0;
};

struct ConventionComparison {
    PreciseChart line;  // the birth with the convention asked for
    std::int64_t onUtcSeconds = 0;
    Convention asked;
    std::vector<ConventionRow> rows;  // in ComparedConventions() order
    // What each axis does to this birth's dates, one sentence each: Moon, ayanamsa, year.
    std::array<std::string, 3> sensitivity;
};

struct ComparisonOutcome {
    std::optional<ConventionComparison> comparison;
    std::string error;
};

// `request` is the birth with the line's convention; `on` the local time of the birth
// zone at which the running periods are taken (read with request.fold), else `nowUtcSeconds`.
ComparisonOutcome CompareConventions(const PreciseRequest& request, std::optional<CivilDateTime> on,
                                     std::int64_t nowUtcSeconds);

// "+3 d 4.25 h": a signed difference in whole days and hours to the hundredth.
std::string DaysAndHours(double seconds);

}  // namespace orvanta
