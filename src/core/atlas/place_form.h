#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/atlas/place.h"
#include "core/chart/birth_form.h"
#include "core/sky/birth_instant.h"

namespace orvanta::atlas {

// What a time zone had in force at one local wall-clock time.
enum class LocalTimeKind {
    Single,   // the reading happened once
    Doubled,  // clocks were put back over it: it happened twice, `fold` says which is read
    Skipped,  // clocks were put forward over it: it never happened
    Unknown,  // the zone id is not in the system's zone data, or the date is unusable
};

struct ZoneAtBirth {
    std::string timeZone;
    LocalTimeKind kind = LocalTimeKind::Unknown;
    int utcOffsetSeconds = 0;       // local minus UTC in force; 0 unless Single or Doubled
    int standardOffsetSeconds = 0;  // the zone's standard offset at that moment
    bool daylightTime = false;      // daylight saving or war time in force
    std::optional<BirthInstant> instant;
    std::string problem;  // a sentence for Skipped, Doubled and Unknown
};

// The zone `ianaId` (or a fixed offset, "UTC+00:21:48") at the local time `local`. A doubled reading is taken as `fold`
// says and still reported as Doubled; with Refuse the earlier one fills `instant` and
// `problem` asks which of the two offsets it names is meant.
ZoneAtBirth ReadZoneAt(std::string_view ianaId, CivilDateTime local, Fold fold = Fold::Earlier);

// The birth-details form's fields for a place: coordinates rounded to the nearest
// minute, and the zone boxes and DST box chosen so that the classic reading of the form
// (zone magnitude, direction from the longitude's hemisphere, DST one hour toward the
// east) gives the true universal time. When no zone boxes can do that, `zoneFilled` is
// false, the zone fields are left out and `problem` says why in one sentence.
struct FormFilling : CoordinateBoxes {
    bool zoneFilled = false;
    std::string zoneHour, zoneMinute;
    bool dst = false;
    std::string problem;
};
FormFilling FillForm(const Place& place, const ZoneAtBirth& zone);

// `form` with the filling's fields written in (the zone fields only when filled).
BirthForm WithFilling(BirthForm form, const FormFilling& filling);

// The form's date and time as a wall-clock reading; nothing when the lists hold no
// usable date ("31" of a 30-day month).
std::optional<CivilDateTime> FormLocalTime(const BirthForm& form);

// "UTC+05:30"; seconds only when the offset has them.
std::string OffsetText(int offsetSeconds);

// One line saying what the place gave the form at its birth time:
// "Pune, Maharashtra, India · Asia/Kolkata · UTC+05:30 on Aug-18-1981 23:30", with the
// problem sentence after it when the zone could not be filled.
std::string PlaceSummary(const Place& place, const ZoneAtBirth& zone, const FormFilling& filling);

}  // namespace orvanta::atlas
