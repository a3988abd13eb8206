#include "core/atlas/place_form.h"

#include <QDate>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "core/zone/fixed_offset.h"
#include "core/zone/tz_database.h"

namespace orvanta::atlas {
namespace {

// The classic zone-hour box holds 0 to 12 as typed; the run also reads "-13" as 13 (the
// zone picker writes it for one zone), so 13 hours is the most the form can carry.
constexpr int kMostZoneHours = 13;

std::optional<int> Number(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::string DateTimeText(const CivilDateTime& t) {
    char text[40];
    std::snprintf(text, sizeof text, "%s-%02d-%04d %02d:%02d",
                  kMonthAbbreviations[static_cast<std::size_t>(t.month - 1)].data(), t.day, t.year, t.hour, t.minute);
    return text;
}

std::string PlaceName(const Place& place) {
    std::string text = place.name;
    for (const std::string* part : {&place.state, &place.country}) {
        if (!part->empty()) text += ", " + *part;
    }
    return text;
}

std::string TwoDigits(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

std::string CannotUse(const ZoneAtBirth& zone) {
    // A fixed offset is named once: its text is the offset.
    const std::string id = zone::FixedOffsetOf(zone.timeZone) ? std::string() : " (" + zone.timeZone + ")";
    return "The classic zone reading cannot use the zone in force here, " + OffsetText(zone.utcOffsetSeconds) + id +
           "; the precise periods can.";
}

}  // namespace

std::string OffsetText(int offsetSeconds) { return zone::FixedOffsetText(offsetSeconds); }

ZoneAtBirth ReadZoneAt(std::string_view ianaId, CivilDateTime local, Fold fold) {
    ZoneAtBirth result;
    result.timeZone = std::string(ianaId);
    if (zone::FixedOffsetOf(ianaId)) {
        // A fixed offset (a file's local mean time): one reading, no daylight saving.
        InstantResult reading = InstantFromTimeZone(local, ianaId);
        if (!reading.instant) {
            result.problem = reading.error;
            return result;
        }
        result.instant = reading.instant;
        result.kind = LocalTimeKind::Single;
        result.utcOffsetSeconds = result.standardOffsetSeconds = result.instant->utcOffsetSeconds;
        return result;
    }
    const auto zone = zone::Database::System().Zone(ianaId);
    if (!zone) {
        const zone::Database& database = zone::Database::System();
        result.problem = database.Knows(ianaId)
                             ? database.UnknownZoneSentence(ianaId)
                             : "The time zone \"" + result.timeZone + "\" is not in this system's time-zone data.";
        return result;
    }
    InstantResult once = InstantFromTimeZone(local, ianaId, Fold::Refuse);
    if (once.instant) {
        result.kind = LocalTimeKind::Single;
    } else {
        InstantResult twice = InstantFromTimeZone(local, ianaId, fold == Fold::Later ? Fold::Later : Fold::Earlier);
        const bool usableDate = QDate(local.year, local.month, local.day).isValid() && local.hour >= 0 &&
                                local.hour < 24 && local.minute >= 0 && local.minute < 60;
        if (twice.instant) {
            result.kind = LocalTimeKind::Doubled;
            once.instant = twice.instant;
            result.problem = fold == Fold::Refuse ? once.error
                                                  : once.error.substr(0, once.error.find("; choose")) + "; the " +
                                                        (fold == Fold::Later ? "later" : "earlier") + " one is read.";
        } else {
            result.kind = usableDate && once.error.find("does not exist") != std::string::npos ? LocalTimeKind::Skipped
                                                                                                 : LocalTimeKind::Unknown;
            result.problem = once.error;
            return result;
        }
    }
    result.instant = once.instant;
    result.utcOffsetSeconds = once.instant->utcOffsetSeconds;
    const zone::ZoneState state = zone->StateAt(once.instant->utcSeconds);
    result.standardOffsetSeconds = state.standardOffsetSeconds;
    result.daylightTime = state.daylightTime;
    return result;
}

FormFilling FillForm(const Place& place, const ZoneAtBirth& zone) {
    FormFilling filling;
    static_cast<CoordinateBoxes&>(filling) = CoordinateBoxesOf(place.latitude, place.longitude);
    const bool east = filling.east;  // 0° 0' reads as west whichever option is chosen

    if (zone.kind != LocalTimeKind::Single && zone.kind != LocalTimeKind::Doubled) {
        filling.problem = zone.problem;
        return filling;
    }
    if (zone.utcOffsetSeconds % 60 != 0) {  // a local mean time: the boxes hold whole minutes
        filling.problem = CannotUse(zone);
        return filling;
    }
    // East, the run subtracts magnitude (+1 h with DST) from local time; west it adds
    // magnitude (-1 h with DST). Magnitude = offset toward the hemisphere's side.
    const auto magnitude = [&](bool dst) {
        const int hour = dst ? 3600 : 0;
        return east ? zone.utcOffsetSeconds - hour : hour - zone.utcOffsetSeconds;
    };
    const bool hourAhead = zone.daylightTime && zone.utcOffsetSeconds - zone.standardOffsetSeconds == 3600;
    for (const bool dst : {hourAhead, false}) {
        const int m = magnitude(dst);
        if (m < 0 || m > kMostZoneHours * 3600 + 59 * 60) continue;
        const int hours = m / 3600;
        filling.zoneFilled = true;
        filling.zoneHour = hours == kMostZoneHours ? "-13" : std::to_string(hours);
        filling.zoneMinute = TwoDigits(m / 60 % 60);
        filling.dst = dst;
        if (zone.kind == LocalTimeKind::Doubled) filling.problem = zone.problem;
        return filling;
    }
    filling.problem = CannotUse(zone);
    return filling;
}

BirthForm WithFilling(BirthForm form, const FormFilling& filling) {
    form = WithCoordinates(std::move(form), filling);
    if (filling.zoneFilled) {
        form.zoneHour = filling.zoneHour;
        form.zoneMinute = filling.zoneMinute;
        form.dst = filling.dst;
    }
    return form;
}

std::optional<CivilDateTime> FormLocalTime(const BirthForm& form) {
    const auto& months = MonthEntries();
    const auto month = std::find(months.begin(), months.end(), form.month);
    const auto day = Number(form.day), year = Number(form.year), hour = Number(form.hour), minute = Number(form.minute);
    if (month == months.end() || !day || !year || !hour || !minute) return std::nullopt;
    CivilDateTime local;
    local.year = *year;
    local.month = static_cast<int>(month - months.begin()) + 1;
    local.day = *day;
    local.hour = *hour;
    local.minute = *minute;
    // Seconds stay 0: the classic run never reads them either.
    if (!QDate(local.year, local.month, local.day).isValid() || local.hour > 23 || local.minute > 59) return std::nullopt;
    return local;
}

std::string PlaceSummary(const Place& place, const ZoneAtBirth& zone, const FormFilling& filling) {
    std::string text = PlaceName(place) + " · " + place.timeZone + " · ";
    if (!zone.instant) return text + zone.problem;
    text += OffsetText(zone.utcOffsetSeconds);
    if (zone.daylightTime) text += " (DST)";
    text += " on " + DateTimeText(zone.instant->local);
    if (!filling.problem.empty()) text += ". " + filling.problem;
    return text;
}

}  // namespace orvanta::atlas
