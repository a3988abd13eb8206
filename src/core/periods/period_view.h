#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/chart/birth_form.h"
#include "core/dasha/dasha.h"
#include "core/periods/conventions.h"
#include "core/periods/period_export.h"

namespace orvanta {

// A place picked from the atlas: its exact coordinates (degrees, north and east
// positive), the IANA zone the birth is read in, and the reading the person chose for a
// local time that occurs twice there.
struct AttachedPlace {
    double latitude = 0;
    double longitude = 0;
    std::string timeZone;
    Fold fold = Fold::Refuse;

    friend bool operator==(const AttachedPlace&, const AttachedPlace&) = default;
};

// The birth as the periods window reads it: the run's details, the seconds the form
// shows, and the atlas place when one is attached (its zone and coordinates then
// replace the form's).
struct PeriodsBirth {
    BirthDetails details;
    int second = 0;  // [0, 59]
    std::optional<AttachedPlace> place;
};

struct PeriodsSettings {
    Ayanamsa ayanamsa = Ayanamsa::Lahiri;
    double yearDays = kDefaultYearDays;
    MoonPosition moonPosition = MoonPosition::Apparent;
    int uncertaintyMinutes = 0;  // [0, kMaxUncertaintyMinutes]; 0: no birth-time window
    int levels = kMaxPeriodLevels;

    friend bool operator==(const PeriodsSettings&, const PeriodsSettings&) = default;
};

struct AyanamsaChoice {
    Ayanamsa ayanamsa;
    std::string_view label;
};
inline constexpr std::array<AyanamsaChoice, 6> kAyanamsaChoices = {{
    {Ayanamsa::Lahiri, "Lahiri"},
    {Ayanamsa::Raman, "Raman"},
    {Ayanamsa::Krishnamurti, "Krishnamurti"},
    {Ayanamsa::Yukteshwar, "Yukteshwar"},
    {Ayanamsa::FaganBradley, "Fagan-Bradley"},
    {Ayanamsa::TrueCitra, "True Chitra"},
}};
// The named year lengths of kYearLengths, in its order.
inline constexpr std::array<double, kYearLengths.size()> kYearDayChoices = [] {
    std::array<double, kYearLengths.size()> days{};
    for (std::size_t i = 0; i < days.size(); ++i) days[i] = kYearLengths[i].days;
    return days;
}();
// "365.25 days (julian)"; a length without a name as "365.2422 days".
std::string YearDaysText(double days);

// What a precise reading asks for: the window's settings, and beyond them a birth-time
// window asked for explicitly (a window of 0 minutes included) and the periods running
// at a wall-clock reading of the birth's zone.
struct PreciseSettings {
    Ayanamsa ayanamsa = Ayanamsa::Lahiri;
    double yearDays = kDefaultYearDays;
    MoonPosition moonPosition = MoonPosition::Apparent;
    int levels = kMaxPeriodLevels;
    std::optional<int> uncertaintyMinutes;  // [0, kMaxUncertaintyMinutes]
    std::optional<CivilDateTime> runningAt;
};
// The window's settings as a reading: an uncertainty of 0 minutes asks for no window.
PreciseSettings PreciseSettingsOf(const PeriodsSettings& settings);

// The form's own place as an attached one: its coordinates (0° 0′ of longitude counts
// as west) and no zone id, so that the zone boxes stay the zone.
AttachedPlace FormPlace(const BirthDetails& details);

// The request for the details: the classic zone reading (its direction from the
// longitude) or the attached place's zone and coordinates (an empty zone id keeps the
// zone boxes).
PreciseRequest PreciseRequestOf(const PeriodsBirth& birth, const PreciseSettings& settings);

struct PeriodsOutcome {
    std::optional<PreciseReport> report;
    std::string error;  // a sentence for people when there is no report
};
// The checked settings' chart of the birth, or the sentence refusing them.
PreciseOutcome PeriodsChartOf(const PeriodsBirth& birth, const PreciseSettings& settings);
// The report of that chart: its provenance, the birth-time window and the periods running
// at the asked reading (a doubled one read by the place's fold); the error is the
// reading's, when the zone cannot place it.
PeriodsOutcome PeriodsReportOf(PreciseChart chart, const PeriodsBirth& birth, const PreciseSettings& settings);
// Both steps: the one precise path of the periods window, its exports and orvanta-chart.
PeriodsOutcome ComputePeriods(const PeriodsBirth& birth, const PreciseSettings& settings);
PeriodsOutcome ComputePeriods(const PeriodsBirth& birth, const PeriodsSettings& settings);
// The same birth under every compared convention, the running periods read at the asked
// reading or at `nowUtcSeconds`.
ComparisonOutcome ComparePeriods(const PeriodsBirth& birth, const PreciseSettings& settings, std::int64_t nowUtcSeconds);

// The zone the periods are read in, for people: the IANA id, or the classic zone
// reading ("zone 5:30 east").
std::string ZoneText(const PeriodsBirth& birth);

// Index of each period's parent in PeriodTree::periods; -1 for the Maha Dashas.
std::vector<int> ParentsOf(const PeriodTree& tree);

// Seconds from the tree's epoch of a UTC second.
double TreeSeconds(const PeriodTree& tree, std::int64_t utcSeconds);

// The classic start of a Maha or an Antar period, from the classic dasha table as the
// results window shows it: the first table trimmed to the birth (its sub-periods that
// ended on or before the birth day have none, the first one left starts with its Maha
// Dasha on the birth day); nothing at deeper levels.
std::optional<Date> ClassicStart(const DashaTable& classic, const Period& period);

// Days from the classic start to the local date of the precise start. The results
// window starts the periods running at birth on the birth day, where no period starts:
// a period that began before the birth has no difference to show.
std::optional<long> DaysFromClassic(const PreciseReport& report, const Period& period, Date classic);

// The universal time the classic reading takes for the details: their hour and minute,
// no seconds, less the zone boxes' offset in the longitude's direction.
std::int64_t ClassicUtcSeconds(const BirthDetails& details);
// One sentence when the classic reading of the birth and the report's read different
// instants, saying by how much and why; nothing when they read the same.
std::optional<std::string> InstantDifference(const PeriodsBirth& birth, const PreciseReport& report);

// A wall-clock reading typed as YYYY-MM-DD, YYYY-MM-DD HH:MM or YYYY-MM-DD HH:MM:SS,
// the time after one blank or a "T" (blanks around the whole forgiven): a real
// Gregorian date and a time of day, or nothing.
std::optional<CivilDateTime> ReadCivil(std::string_view text);

// "1981-08-18 23:30:00": the wall clock of the birth's zone at an instant of the tree.
std::string LocalText(const PreciseReport& report, double seconds);
// "16y 0m 0d" from the local start date to the local end date, and for a period
// shorter than a month "3d 04:12:09".
std::string DurationText(const PreciseReport& report, const Period& period);
// "34y 2m 5d"; "before birth" for a period that begins before the birth.
std::string AgeText(const PreciseReport& report, const Period& period);

// 196.702861° as "16° 42′ 10.3″ Lib", to the nearest tenth of an arc-second.
std::string ArcText(double longitude);

// One sentence when the birth-time window crosses into another Nakshatra: the instant,
// the other first lord, and when that side's next two Maha Dashas start.
std::optional<std::string> NakshatraChangeText(const PreciseReport& report);

// "Maha", "Antar", "Pratyantar", "Sookshma", "Prana": the name of a level, 1 to 5.
std::string_view LevelName(int level);
// "Venus Maha · Saturn Antar · Rahu Pratyantar": the periods of a chain, outermost first.
std::string ChainText(const PeriodTree& tree, const std::vector<int>& chain);

// The provenance of the figures: library and ephemeris, ayanamsa, the Moon and its
// Nakshatra, Delta T, the birth instant and the zone rule, as caption and value.
std::vector<std::pair<std::string, std::string>> ProvenanceLines(const PreciseReport& report);

}  // namespace orvanta
