#include "core/periods/conventions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/dasha/dasha.h"

namespace orvanta {

namespace {

constexpr std::array<Ayanamsa, 4> kComparedAyanamsas = {Ayanamsa::Lahiri, Ayanamsa::Raman, Ayanamsa::Krishnamurti,
                                                        Ayanamsa::TrueCitra};
constexpr double kSecondsPerDay = 86400;

PreciseOutcome ChartOf(PreciseRequest request, const Convention& convention) {
    request.ayanamsa = convention.ayanamsa;
    request.yearDays = convention.yearDays;
    request.moonPosition = convention.moonPosition;
    request.levels = 3;
    return ComputePreciseChart(request);
}

ConventionRow RowOf(const PreciseChart& chart, const Convention& convention, double on) {
    ConventionRow row;
    row.convention = convention;
    row.moonSiderealLongitude = chart.sky.moonSiderealLongitude;
    row.birthLord = chart.tree.moon.lord;
    for (int i = 0; i < kLords; ++i) {
        const Period& maha = chart.tree.periods[static_cast<std::size_t>(i)];
        if (maha.start <= chart.tree.request.birthSeconds) continue;
        row.firstMahaLord = maha.lords[0];
        row.firstMahaStart = maha.start;
        row.balance = AgeAtStart(chart, maha).value_or(CalendarAge{});
        break;
    }
    for (const int i : RunningChain(chart.tree, on, 3)) {
        const Period& p = chart.tree.periods[static_cast<std::size_t>(i)];
        row.runningLords.push_back(p.lords[static_cast<std::size_t>(p.level - 1)]);
    }
    return row;
}

double Spread(const std::vector<double>& values) {
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    return *high - *low;
}

std::string Fixed(double value, int decimals) {
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// 1° 27' 4"
std::string Arc(double degrees) {
    const long seconds = std::lround(std::fabs(degrees) * 3600);
    return std::to_string(seconds / 3600) + "\u00b0 " + std::to_string(seconds / 60 % 60) + "' " +
           std::to_string(seconds % 60) + "\"";
}

}  // namespace

std::optional<double> YearDaysOfName(std::string_view name) {
    for (const YearLength& year : kYearLengths) {
        if (year.name == name) return year.days;
    }
    return std::nullopt;
}

std::string_view YearLengthName(double days) {
    for (const YearLength& year : kYearLengths) {
        if (year.days == days) return year.name;
    }
    return {};
}

std::vector<Convention> ComparedConventions() {
    std::vector<Convention> grid;
    for (const Ayanamsa ayanamsa : kComparedAyanamsas) {
        for (const YearLength& year : kYearLengths) {
            for (const MoonPosition moon : {MoonPosition::Apparent, MoonPosition::Geometric}) {
                grid.push_back({ayanamsa, year.days, moon});
            }
        }
    }
    return grid;
}

std::string DaysAndHours(double seconds) {
    const double magnitude = std::fabs(seconds);
    double days = std::floor(magnitude / kSecondsPerDay);
    double hours = std::round((magnitude - days * kSecondsPerDay) / 36) / 100;
    if (hours >= 24) {
        days += 1;
        hours -= 24;
    }
    return std::string(seconds < 0 && magnitude >= 18 ? "-" : "+") + Fixed(days, 0) + " d " + Fixed(hours, 2) + " h";
}

ComparisonOutcome CompareConventions(const PreciseRequest& request, std::optional<CivilDateTime> on,
                                     std::int64_t nowUtcSeconds) {
    const Convention asked{request.ayanamsa, request.yearDays, request.moonPosition};
    PreciseOutcome line = ChartOf(request, asked);
    if (!line.chart) return {std::nullopt, line.error};
    UtcResult at{nowUtcSeconds, {}};
    if (on) at = UtcOfLocal(line.chart->birth, *on, request.fold);
    if (!at.utcSeconds) return {std::nullopt, "--on: " + at.error};

    ConventionComparison comparison;
    comparison.line = std::move(*line.chart);
    comparison.onUtcSeconds = *at.utcSeconds;
    comparison.asked = asked;
    const double onSeconds = static_cast<double>(*at.utcSeconds - comparison.line.birth.utcSeconds);
    const ConventionRow lineRow = RowOf(comparison.line, asked, onSeconds);
    std::string error;
    const auto rowOf = [&](const Convention& convention, double* ayanamsaDegrees = nullptr) {
        const PreciseOutcome outcome = ChartOf(request, convention);
        if (!outcome.chart) {
            error = outcome.error;
            return ConventionRow{};
        }
        if (ayanamsaDegrees != nullptr) *ayanamsaDegrees = outcome.chart->sky.ayanamsaDegrees;
        ConventionRow row = RowOf(*outcome.chart, convention, onSeconds);
        row.differenceSeconds = row.firstMahaStart - lineRow.firstMahaStart;
        return row;
    };
    for (const Convention& convention : ComparedConventions()) {
        comparison.rows.push_back(rowOf(convention));
        if (!error.empty()) return {std::nullopt, error};
    }

    // Each axis varied alone, the other two as the line asks.
    Convention other = asked;
    other.moonPosition =
        asked.moonPosition == MoonPosition::Apparent ? MoonPosition::Geometric : MoonPosition::Apparent;
    const ConventionRow moon = rowOf(other);
    std::vector<double> ayanamsas, ayanamsaStarts, yearStarts;
    bool lordChanges = false;
    for (const Ayanamsa ayanamsa : kComparedAyanamsas) {
        double degrees = 0;
        const ConventionRow row = rowOf({ayanamsa, asked.yearDays, asked.moonPosition}, &degrees);
        ayanamsas.push_back(degrees);
        ayanamsaStarts.push_back(row.firstMahaStart);
        lordChanges = lordChanges || row.birthLord != lineRow.birthLord;
    }
    std::vector<double> lastStarts;
    for (const YearLength& year : kYearLengths) {
        const PreciseOutcome outcome = ChartOf(request, {asked.ayanamsa, year.days, asked.moonPosition});
        if (!outcome.chart) return {std::nullopt, outcome.error};
        yearStarts.push_back(RowOf(*outcome.chart, asked, onSeconds).firstMahaStart);
        lastStarts.push_back(outcome.chart->tree.periods[kLords - 1].start);
    }
    if (!error.empty()) return {std::nullopt, error};

    const double arcseconds = std::fabs(std::remainder(moon.moonSiderealLongitude - lineRow.moonSiderealLongitude, 360.0)) * 3600;
    const double hours = std::fabs(moon.differenceSeconds) / 3600;
    comparison.sensitivity[0] =
        "Moon position: the geometric Moon lies " + Fixed(arcseconds, 2) +
        "\" from the apparent one (light-time; nutation cancels between the position and the ayanamsa), which "
        "moves every date by " + Fixed(hours, 2) + " hours; each arc-second of the Moon moves them by about " +
        (arcseconds > 0 ? Fixed(hours / arcseconds, 2) : std::string("0")) + " hours for this birth.";
    const double ayanamsaSpread = Spread(ayanamsas);
    const double ayanamsaDays = Spread(ayanamsaStarts) / kSecondsPerDay;
    comparison.sensitivity[1] =
        "Ayanamsa: lahiri, raman, krishnamurti and true-citra lie up to " + Arc(ayanamsaSpread) +
        " apart for this birth, which moves the first Maha Dasha start by up to " + Fixed(ayanamsaDays, 1) + " days" +
        (lordChanges ? " and changes the birth lord."
                     : " (about " + Fixed(ayanamsaSpread > 0 ? ayanamsaDays / (ayanamsaSpread * 60) : 0, 2) +
                           " days per arc-minute).");
    const double firstDays = Spread(yearStarts) / kSecondsPerDay;
    const double lastDays = Spread(lastStarts) / kSecondsPerDay;
    const double lastYears = (comparison.line.tree.periods[kLords - 1].start - lineRow.firstMahaStart) /
                             (asked.yearDays * kSecondsPerDay);
    comparison.sensitivity[2] =
        "Year length: from savana to sidereal the first Maha Dasha start moves by up to " + Fixed(firstDays, 1) +
        " days and the last one's by up to " + Fixed(lastDays, 1) + " days, about " +
        Fixed(lastYears > 0 ? (lastDays - firstDays) / lastYears : 0, 2) + " days more for each year of periods.";
    return {std::move(comparison), {}};
}

}  // namespace orvanta
