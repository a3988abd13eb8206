#include "core/periods/precise_chart.h"

#include <cmath>
#include <cstdio>

#include "core/zone/fixed_offset.h"

namespace orvanta {

PreciseOutcome ComputePreciseChart(const PreciseRequest& request) {
    if (!IsUsableYearDays(request.yearDays)) {
        return {std::nullopt, "The year length must be between 300 and 400 days."};
    }
    const InstantResult instant =
        request.timeZone.empty()
            ? InstantFromClassicZone(request.local, request.zoneHours, request.zoneMinutes, request.dst, request.east)
            : InstantFromTimeZone(request.local, request.timeZone, request.fold);
    if (!instant.instant) return {std::nullopt, instant.error};

    PreciseChart chart;
    chart.birth = *instant.instant;
    // A fixed offset that is exactly the place's mean time (four minutes a degree of
    // longitude, to the second) is named so.
    if (zone::FixedOffsetOf(chart.birth.timeZone) &&
        chart.birth.utcOffsetSeconds == static_cast<int>(std::lround(request.longitude * 240.0))) {
        chart.birth.zoneRule = "local mean time, " + zone::FixedOffsetText(chart.birth.utcOffsetSeconds);
    }
    chart.ayanamsa = request.ayanamsa;
    chart.moonPosition = request.moonPosition;
    chart.latitude = request.latitude;
    chart.longitude = request.longitude;
    chart.sky = ComputeSky(chart.birth.julianDayUT, request.latitude, request.longitude, request.ayanamsa,
                           request.moonPosition);
    if (!chart.sky.error.empty()) return {std::nullopt, chart.sky.error};
    if (!std::isfinite(chart.sky.moonSiderealLongitude) || !std::isfinite(chart.sky.ascendantSiderealLongitude) ||
        !std::isfinite(chart.sky.ayanamsaDegrees)) {
        return {std::nullopt, "The ephemeris cannot compute the Moon and ascendant for this instant and place."};
    }
    PeriodRequest periods;
    periods.epochUtcSeconds = chart.birth.utcSeconds;
    periods.birthSeconds = 0;
    periods.moonSiderealLongitude = chart.sky.moonSiderealLongitude;
    periods.yearDays = request.yearDays;
    periods.levels = request.levels;
    chart.tree = BuildPeriodTree(periods);
    return {std::move(chart), {}};
}

UtcResult UtcOfLocal(const BirthInstant& birth, CivilDateTime local, Fold fold) {
    if (birth.timeZone.empty()) return {SecondsOfCivil(local) - birth.utcOffsetSeconds, {}};
    const InstantResult instant = InstantFromTimeZone(local, birth.timeZone, fold, kLastPeriodYear);
    if (!instant.instant) return {std::nullopt, instant.error};
    return {instant.instant->utcSeconds, {}};
}

std::string FormatUtc(std::int64_t utcSeconds) { return FormatCivil(CivilOfSeconds(utcSeconds)) + "Z"; }

std::string FormatLocal(const BirthInstant& birth, std::int64_t utcSeconds) {
    const int offset = UtcOffsetAt(birth, utcSeconds);
    const int magnitude = offset < 0 ? -offset : offset;
    char zone[16];
    // A local mean time of the old zone rules can have seconds: they are written then.
    if (magnitude % 60 == 0) {
        std::snprintf(zone, sizeof zone, "%c%02d:%02d", offset < 0 ? '-' : '+', magnitude / 3600, magnitude / 60 % 60);
    } else {
        std::snprintf(zone, sizeof zone, "%c%02d:%02d:%02d", offset < 0 ? '-' : '+', magnitude / 3600,
                      magnitude / 60 % 60, magnitude % 60);
    }
    return FormatCivil(CivilOfSeconds(utcSeconds + offset)) + zone;
}

Date LocalDateOf(const BirthInstant& birth, std::int64_t utcSeconds) {
    const CivilDateTime c = CivilOfSeconds(utcSeconds + UtcOffsetAt(birth, utcSeconds));
    return {c.year, c.month, c.day};
}

Provenance ProvenanceOf(const PreciseChart& chart, EngineInfo engine) {
    engine.ephemeris = chart.sky.moshier ? "moshier" : "files";
    return {std::move(engine),
            std::string(AyanamsaName(chart.ayanamsa)),
            chart.sky.ayanamsaDegrees,
            chart.sky.deltaTSeconds,
            FormatUtc(chart.birth.utcSeconds),
            chart.birth.julianDayUT,
            chart.birth.zoneRule,
            std::string(MoonPositionName(chart.moonPosition))};
}

std::optional<CalendarAge> AgeAtStart(const PreciseChart& chart, const Period& period) {
    if (period.start < chart.tree.request.birthSeconds) return std::nullopt;
    const Date birth{chart.birth.local.year, chart.birth.local.month, chart.birth.local.day};
    return AgeOn(birth, LocalDateOf(chart.birth, RoundedUtcSeconds(chart.tree, period.start)));
}

}  // namespace orvanta
