#include "core/periods/period_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/astro/astronomy.h"
#include "core/dasha/dasha.h"

namespace orvanta {

namespace {

std::string_view LordName(int lord) { return DashaLord[static_cast<std::size_t>(lord)]; }

std::string CalendarText(const CalendarAge& age) {
    return std::to_string(age.years) + "y " + std::to_string(age.months) + "m " + std::to_string(age.days) + "d";
}

}  // namespace

PreciseSettings PreciseSettingsOf(const PeriodsSettings& settings) {
    PreciseSettings precise;
    precise.ayanamsa = settings.ayanamsa;
    precise.yearDays = settings.yearDays;
    precise.moonPosition = settings.moonPosition;
    precise.levels = settings.levels;
    if (settings.uncertaintyMinutes != 0) precise.uncertaintyMinutes = settings.uncertaintyMinutes;
    return precise;
}

AttachedPlace FormPlace(const BirthDetails& details) {
    const BirthTime time = ReadBirthTime(details);
    return {time.signedLatitude, -time.signedLongitude, {}, Fold::Refuse};
}

PreciseRequest PreciseRequestOf(const PeriodsBirth& birth, const PreciseSettings& settings) {
    const BirthDetails& d = birth.details;
    PreciseRequest request;
    request.local = {d.year, d.month, d.day, d.hour, d.minute, birth.second};
    request.zoneHours = d.zoneHours;
    request.zoneMinutes = d.zoneMinutes;
    request.dst = d.dst;
    request.east = ClassicZoneIsEast(d.longitudeDegrees, d.longitudeMinutes, d.isEast);
    const AttachedPlace place = birth.place ? *birth.place : FormPlace(d);
    request.timeZone = place.timeZone;
    request.fold = place.fold;
    request.latitude = place.latitude;
    request.longitude = place.longitude;
    request.ayanamsa = settings.ayanamsa;
    request.yearDays = settings.yearDays;
    request.moonPosition = settings.moonPosition;
    request.levels = settings.levels;
    return request;
}

namespace {

// The sentence refusing settings outside their ranges; nothing for usable ones.
std::optional<std::string> SettingsFault(const PreciseSettings& settings) {
    if (settings.levels < 1 || settings.levels > kMaxPeriodLevels) return "The levels run from 1 to 5.";
    if (settings.uncertaintyMinutes &&
        (*settings.uncertaintyMinutes < 0 || *settings.uncertaintyMinutes > kMaxUncertaintyMinutes)) {
        return "The birth-time uncertainty can be at most 360 minutes.";
    }
    return std::nullopt;
}

}  // namespace

PreciseOutcome PeriodsChartOf(const PeriodsBirth& birth, const PreciseSettings& settings) {
    if (const auto fault = SettingsFault(settings)) return {std::nullopt, *fault};
    return ComputePreciseChart(PreciseRequestOf(birth, settings));
}

PeriodsOutcome PeriodsReportOf(PreciseChart chart, const PeriodsBirth& birth, const PreciseSettings& settings) {
    PreciseReport report;
    report.chart = std::move(chart);
    report.provenance = ProvenanceOf(report.chart, EngineVersion());  // the birth's own ephemeris
    if (settings.runningAt) {
        const UtcResult at = UtcOfLocal(report.chart.birth, *settings.runningAt, birth.place ? birth.place->fold : Fold::Refuse);
        if (!at.utcSeconds) return {std::nullopt, at.error};
        report.runningAt = settings.runningAt;
        report.running = RunningChain(report.chart.tree,
                                      static_cast<double>(*at.utcSeconds - report.chart.birth.utcSeconds), settings.levels);
    }
    if (settings.uncertaintyMinutes) {
        const Ayanamsa ayanamsa = settings.ayanamsa;
        const MoonPosition position = settings.moonPosition;
        report.window = BirthTimeUncertainty(
            report.chart.tree, [ayanamsa, position](double jd) { return MoonSiderealLongitude(jd, ayanamsa, position); },
            *settings.uncertaintyMinutes);
    }
    return {std::move(report), {}};
}

PeriodsOutcome ComputePeriods(const PeriodsBirth& birth, const PreciseSettings& settings) {
    PreciseOutcome outcome = PeriodsChartOf(birth, settings);
    if (!outcome.chart) return {std::nullopt, outcome.error};
    return PeriodsReportOf(std::move(*outcome.chart), birth, settings);
}

PeriodsOutcome ComputePeriods(const PeriodsBirth& birth, const PeriodsSettings& settings) {
    return ComputePeriods(birth, PreciseSettingsOf(settings));
}

ComparisonOutcome ComparePeriods(const PeriodsBirth& birth, const PreciseSettings& settings, std::int64_t nowUtcSeconds) {
    if (const auto fault = SettingsFault(settings)) return {std::nullopt, *fault};
    return CompareConventions(PreciseRequestOf(birth, settings), settings.runningAt, nowUtcSeconds);
}

std::string YearDaysText(double days) {
    char text[64];
    const std::string_view name = YearLengthName(days);
    if (name.empty()) {
        std::snprintf(text, sizeof text, "%.9g days", days);
    } else {
        std::snprintf(text, sizeof text, "%.9g days (%s)", days, std::string(name).c_str());
    }
    return text;
}

std::string ZoneText(const PeriodsBirth& birth) {
    if (birth.place) return birth.place->timeZone;
    const BirthDetails& d = birth.details;
    char text[48];
    const bool east = ClassicZoneIsEast(d.longitudeDegrees, d.longitudeMinutes, d.isEast);
    std::snprintf(text, sizeof text, "zone %d:%02d %s%s", d.zoneHours, d.zoneMinutes, east ? "east" : "west",
                  d.dst ? ", daylight saving" : "");
    return text;
}

std::vector<int> ParentsOf(const PeriodTree& tree) {
    std::vector<int> parents(tree.periods.size(), -1);
    for (std::size_t i = 0; i < tree.periods.size(); ++i) {
        const int first = tree.periods[i].firstChild;
        if (first < 0) continue;
        for (int k = first; k < first + kLords; ++k) parents[static_cast<std::size_t>(k)] = static_cast<int>(i);
    }
    return parents;
}

double TreeSeconds(const PeriodTree& tree, std::int64_t utcSeconds) {
    return static_cast<double>(utcSeconds - tree.request.epochUtcSeconds);
}

std::optional<Date> ClassicStart(const DashaTable& classic, const Period& period) {
    if (period.level > 2) return std::nullopt;
    const auto lord = static_cast<std::size_t>(period.lords[0]);
    if (period.level == 1) return classic.mahaStart[lord];
    const auto k = static_cast<std::size_t>((period.lords[1] - period.lords[0] + kLords) % kLords);  // [0, 8]
    if (period.lords[0] != classic.birthLordIndex) return classic.subStart[lord][k];
    // The birth's table ends with its Maha Dasha, whatever its last sub-period's own end.
    const auto end = [&](std::size_t i) { return i + 1 == kLords ? classic.mahaEnd[lord] : classic.subEnd[lord][i]; };
    if (end(k) <= classic.birthDate) return std::nullopt;
    if (k == 0 || end(k - 1) <= classic.birthDate) return classic.mahaStart[lord];
    return classic.subStart[lord][k];
}

std::optional<long> DaysFromClassic(const PreciseReport& report, const Period& period, Date classic) {
    if (period.start < report.chart.tree.request.birthSeconds) return std::nullopt;
    const Date precise = LocalDateOf(report.chart.birth, RoundedUtcSeconds(report.chart.tree, period.start));
    return DaysBetween(classic, precise);
}

std::int64_t ClassicUtcSeconds(const BirthDetails& d) {
    const std::int64_t midnight = SecondsOfCivil({d.year, d.month, d.day, 0, 0, 0});
    return midnight + std::llround(ReadBirthTime(d).universalTime * 3600.0);
}

std::optional<std::string> InstantDifference(const PeriodsBirth& birth, const PreciseReport& report) {
    const std::int64_t classic = ClassicUtcSeconds(birth.details);
    const std::int64_t precise = report.chart.birth.utcSeconds;
    if (classic == precise) return std::nullopt;
    const std::int64_t apart = std::llabs(classic - precise);
    std::string span;
    const auto part = [&span](std::int64_t value, const char* unit) {
        if (value == 0) return;
        if (!span.empty()) span += ' ';
        span += std::to_string(value) + ' ' + unit;
    };
    part(apart / 86400, "d");
    part(apart / 3600 % 24, "h");
    part(apart / 60 % 60, "min");
    part(apart % 60, "s");
    std::string why;
    if (birth.second != 0) why = "the classic reading takes no seconds";
    const bool zones = precise - classic != birth.second;
    if (zones) {
        if (!why.empty()) why += " and ";
        why += "it reads the zone boxes (" + ZoneText({birth.details, 0, std::nullopt}) + ")" +
               (birth.place ? ", these periods " + birth.place->timeZone : std::string());
    }
    return "The classic columns read the birth at " + FormatUtc(classic) + ", " + span +
           (classic < precise ? " before" : " after") + " these periods (" + FormatUtc(precise) + "): " + why + ".";
}

std::optional<CivilDateTime> ReadCivil(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (text.size() <= 10 || text[10] != ' ') return ReadCivilText(text);
    std::string typed(text);
    typed[10] = 'T';  // a blank between date and time, as the window writes them
    return ReadCivilText(typed);
}

std::string LocalText(const PreciseReport& report, double seconds) {
    const std::int64_t utc = RoundedUtcSeconds(report.chart.tree, seconds);
    std::string text = FormatCivil(CivilOfSeconds(utc + UtcOffsetAt(report.chart.birth, utc)));
    text[10] = ' ';
    return text;
}

std::string DurationText(const PreciseReport& report, const Period& period) {
    const PreciseChart& c = report.chart;
    const std::int64_t start = RoundedUtcSeconds(c.tree, period.start);
    const std::int64_t end = RoundedUtcSeconds(c.tree, period.end);
    const auto age = AgeOn(LocalDateOf(c.birth, start), LocalDateOf(c.birth, end));
    if (age && (age->years > 0 || age->months > 0)) return CalendarText(*age);
    const std::int64_t seconds = end - start;
    char text[32];
    std::snprintf(text, sizeof text, "%lldd %02lld:%02lld:%02lld", static_cast<long long>(seconds / 86400),
                  static_cast<long long>(seconds / 3600 % 24), static_cast<long long>(seconds / 60 % 60),
                  static_cast<long long>(seconds % 60));
    return text;
}

std::string AgeText(const PreciseReport& report, const Period& period) {
    const auto age = AgeAtStart(report.chart, period);
    return age ? CalendarText(*age) : "before birth";
}

std::string ArcText(double longitude) {
    // Tenths of an arc-second rounded once, so that 59.96″ becomes the next minute.
    auto tenths = static_cast<long long>(std::llround(longitude * 36000.0)) % (360LL * 36000);
    if (tenths < 0) tenths += 360LL * 36000;
    const auto sign = static_cast<std::size_t>(tenths / (30LL * 36000));
    const long long inSign = tenths % (30LL * 36000);
    char text[48];
    std::snprintf(text, sizeof text, "%lld\u00b0 %02lld\u2032 %02lld.%lld\u2033 %s", inSign / 36000, inSign / 600 % 60,
                  inSign / 10 % 60, inSign % 10, std::string(SignCodes.substr(sign * 3, 3)).c_str());
    return text;
}

std::optional<std::string> NakshatraChangeText(const PreciseReport& report) {
    if (!report.window || !report.window->nakshatraChangesAt || !report.window->otherSide) return std::nullopt;
    const BirthTimeWindow& w = *report.window;
    const BirthTimeWindow::OtherSide& other = *w.otherSide;
    const bool before = other.to <= report.chart.tree.request.birthSeconds;
    const auto range = [&](std::size_t i) {
        return std::string(LordName(other.lords[i])) + " from " + LocalText(report, other.startEarliest[i]) + " .. " +
               LocalText(report, other.startLatest[i]);
    };
    return "The Moon changes Nakshatra at " + LocalText(report, *w.nakshatraChangesAt) + ": a birth " +
           (before ? "before" : "after") + " then starts in " + std::string(LordName(other.firstLord)) + ", not " +
           std::string(LordName(report.chart.tree.moon.lord)) + ", and its next Maha Dashas start " + range(1) +
           " and " + range(2) + "; the ranges below hold for a birth " + (before ? "after" : "before") + " it.";
}

std::string_view LevelName(int level) {
    static constexpr std::array<std::string_view, kMaxPeriodLevels> kNames = {"Maha", "Antar", "Pratyantar",
                                                                               "Sookshma", "Prana"};
    return level >= 1 && level <= kMaxPeriodLevels ? kNames[static_cast<std::size_t>(level - 1)] : std::string_view();
}

std::string ChainText(const PeriodTree& tree, const std::vector<int>& chain) {
    std::string text;
    for (const int i : chain) {
        const Period& p = tree.periods[static_cast<std::size_t>(i)];
        if (!text.empty()) text += " \u00b7 ";
        text += std::string(LordName(p.lords[static_cast<std::size_t>(p.level - 1)])) + " " + std::string(LevelName(p.level));
    }
    return text;
}

std::vector<std::pair<std::string, std::string>> ProvenanceLines(const PreciseReport& report) {
    const PreciseChart& c = report.chart;
    const Provenance& source = report.provenance;
    const MoonPlace& m = c.tree.moon;
    std::string ayanamsa = source.ayanamsaName;
    for (const AyanamsaChoice& choice : kAyanamsaChoices) {
        if (choice.ayanamsa == c.ayanamsa) ayanamsa = std::string(choice.label);
    }
    char number[64];
    std::vector<std::pair<std::string, std::string>> lines;
    lines.emplace_back("Library", source.engine.library + " " + source.engine.version);
    lines.emplace_back("Ephemeris", source.engine.ephemeris == "moshier" ? "Moshier (analytical, no files)"
                                                                        : "Swiss Ephemeris files");
    std::snprintf(number, sizeof number, " %.6f\u00b0", source.ayanamsaDegrees);
    lines.emplace_back("Ayanamsa", ayanamsa + number);
    std::snprintf(number, sizeof number, " (%.6f\u00b0)", c.sky.moonSiderealLongitude);
    lines.emplace_back("Moon, sidereal", ArcText(c.sky.moonSiderealLongitude) + number + ", " + source.moonPosition);
    lines.emplace_back("Nakshatra", std::to_string(m.nakshatra + 1) + " " +
                                        std::string(NakshatraNames[static_cast<std::size_t>(m.nakshatra)]) +
                                        ", pada " + std::to_string(m.pada) + ", lord " +
                                        std::string(LordName(m.lord)));
    std::snprintf(number, sizeof number, "%.6f", m.elapsedFraction);
    lines.emplace_back("Elapsed", number);
    std::snprintf(number, sizeof number, "%.2f s", source.deltaTSeconds);
    lines.emplace_back("Delta T", number);
    lines.emplace_back("Birth, UTC", source.utc);
    lines.emplace_back("Zone rule", source.zoneRule);
    lines.emplace_back("Year", YearDaysText(c.tree.request.yearDays));
    return lines;
}

}  // namespace orvanta
