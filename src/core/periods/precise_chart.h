#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/dasha/calendar.h"
#include "core/periods/period_tree.h"
#include "core/sky/birth_instant.h"
#include "core/sky/ephemeris.h"

namespace orvanta {

// A birth for the precise method: the wall-clock reading to the second, the zone
// (an IANA id, or else the classic zone reading) and the place.
struct PreciseRequest {
    CivilDateTime local;
    std::string timeZone;  // empty: the classic zone reading below
    Fold fold = Fold::Refuse;
    int zoneHours = 0;
    int zoneMinutes = 0;
    bool dst = false;
    bool east = true;   // the zone's direction, as the classic run decides it from the longitude
    double latitude = 0;   // degrees, north positive
    double longitude = 0;  // degrees, east positive
    Ayanamsa ayanamsa = Ayanamsa::Lahiri;
    MoonPosition moonPosition = MoonPosition::Apparent;
    double yearDays = kDefaultYearDays;
    int levels = 3;
};

// The instant, the sky at it and the period tree; the tree's epoch is the birth's
// whole UTC second, so its times count from the birth.
struct PreciseChart {
    BirthInstant birth;
    Sky sky;
    Ayanamsa ayanamsa = Ayanamsa::Lahiri;
    MoonPosition moonPosition = MoonPosition::Apparent;
    double latitude = 0;   // degrees, north positive
    double longitude = 0;  // degrees, east positive
    PeriodTree tree;
};

struct PreciseOutcome {
    std::optional<PreciseChart> chart;
    std::string error;  // a sentence for people when there is no chart
};

// Refuses a year length outside [300, 400], whatever the zone reading refuses, and a sky
// the ephemeris could not compute or whose files it could not trust (naming the file).
PreciseOutcome ComputePreciseChart(const PreciseRequest& request);

// The UTC second of a wall-clock reading in the birth's zone: the fixed offset of a
// classic reading, or the IANA zone's rules with the same refusals as a birth time.
struct UtcResult {
    std::optional<std::int64_t> utcSeconds;
    std::string error;
};
UtcResult UtcOfLocal(const BirthInstant& birth, CivilDateTime local, Fold fold);

// "2024-03-01T05:06:07Z"
std::string FormatUtc(std::int64_t utcSeconds);
// "2024-03-01T10:36:07+05:30": the wall clock of the birth's zone at that instant.
std::string FormatLocal(const BirthInstant& birth, std::int64_t utcSeconds);
// The local calendar date of an instant in the birth's zone.
Date LocalDateOf(const BirthInstant& birth, std::int64_t utcSeconds);

// Where the precise figures come from, for people and for the record of a chart.
struct Provenance {
    EngineInfo engine;  // `ephemeris`: the one that answered for the birth instant
    std::string ayanamsaName;  // as AyanamsaName gives it
    double ayanamsaDegrees = 0;
    double deltaTSeconds = 0;
    std::string utc;  // "1981-08-18T18:00:00Z"
    double julianDayUT = 0;
    std::string zoneRule;
    std::string moonPosition;  // as MoonPositionName gives it
};
Provenance ProvenanceOf(const PreciseChart& chart, EngineInfo engine);

// The age at a period's start from the local birth date; nothing for a period that
// begins before the birth.
std::optional<CalendarAge> AgeAtStart(const PreciseChart& chart, const Period& period);

}  // namespace orvanta
