#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/base/calendar.h"

namespace orvanta {

enum class Fold { Refuse, Earlier, Later };   // what to do with a local time that occurs twice
struct BirthInstant {
    CivilDateTime local;
    std::string timeZone;            // IANA id or a fixed offset ("UTC+00:21:48"); empty for the classic zone reading
    int utcOffsetSeconds = 0;        // local minus UTC, in force at the birth
    std::int64_t utcSeconds = 0;     // since 1970-01-01T00:00:00Z, proleptic Gregorian, no leap seconds
    double julianDayUT = 0;          // 2440587.5 + utcSeconds / 86400
    std::string zoneRule;            // one line for people: "zone 5:30 east (fixed UTC+05:30)", "Asia/Kolkata: IST, UTC+05:30",
                                     // "fixed UTC+00:21:48"
};
struct InstantResult { std::optional<BirthInstant> instant; std::string error; };  // error: a sentence for people

// Local dates accepted: kFirstBirthYear-01-01 .. kLastBirthYear-12-31.
// The classic zone reading: zone magnitude, +1 h with DST, direction east when `east` (the classic run's rule).
// The offset is +(hours:minutes) east, -(hours:minutes) west, plus one hour with DST either way.
// Zone hours 0 to 23, minutes 0 to 59.
InstantResult InstantFromClassicZone(CivilDateTime local, int zoneHours, int zoneMinutes, bool dst, bool east);
// A zone id of the tz database, exactly as written, or the text of a fixed offset
// ("UTC+00:21:48", zone::FixedOffsetOf); anything else is refused with the ids it may have
// meant. A skipped local time is refused, a doubled one refused unless fold says which.
// `lastYear` widens the dates to those of the periods (kLastPeriodYear).
InstantResult InstantFromTimeZone(CivilDateTime local, std::string_view ianaId, Fold fold = Fold::Refuse,
                                  int lastYear = kLastBirthYear);
// The offset in force at a UTC instant: the fixed one of a classic reading (timeZone empty), else the zone's.
int UtcOffsetAt(const BirthInstant& birth, std::int64_t utcSeconds);

}  // namespace orvanta
