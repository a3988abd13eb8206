#include "core/sky/birth_instant.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "core/zone/fixed_offset.h"
#include "core/zone/tz_database.h"

namespace orvanta {
namespace {

// "2024-03-01 10:36:07"
std::string DateTimeText(const CivilDateTime& t) {
    std::string text = FormatCivil(t);
    text[10] = ' ';
    return text;
}

std::string OffsetText(int offsetSeconds) { return zone::FixedOffsetText(offsetSeconds); }

// Empty when the reading is a valid date 1800..2399 and time of day; else the refusal.
std::string CheckLocal(const CivilDateTime& t, int lastYear = kLastBirthYear) {
    char text[160];
    if (!IsCalendarDay(t.year, t.month, t.day)) {
        std::snprintf(text, sizeof text, "There is no date %04d-%02d-%02d in the calendar.", t.year, t.month, t.day);
        return text;
    }
    if (t.year < kFirstBirthYear || t.year > lastYear) {
        std::snprintf(text, sizeof text, "The date %04d-%02d-%02d is outside the years %d to %d.", t.year, t.month,
                      t.day, kFirstBirthYear, lastYear);
        return text;
    }
    if (t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59 || t.second < 0 || t.second > 59) {
        std::snprintf(text, sizeof text, "The time %02d:%02d:%02d is not a time of day.", t.hour, t.minute, t.second);
        return text;
    }
    return {};
}

BirthInstant MakeInstant(const CivilDateTime& local, std::string timeZone, int offsetSeconds, std::string rule) {
    BirthInstant birth;
    birth.local = local;
    birth.timeZone = std::move(timeZone);
    birth.utcOffsetSeconds = offsetSeconds;
    birth.utcSeconds = SecondsOfCivil(local) - offsetSeconds;
    birth.julianDayUT = kJulianDayOfEpoch + static_cast<double>(birth.utcSeconds) / 86400.0;
    birth.zoneRule = std::move(rule);
    return birth;
}

// The zone of a database id; nothing for another text. The database hands out each
// zone once; the last one asked is kept per thread, since a row asks thousands of times
// for one birth's zone. The database keeps every zone it read for the program's life.
const zone::TimeZone* ZoneOf(const std::string& id) {
    thread_local std::shared_ptr<const zone::TimeZone> last;
    if (!last || last->Id() != id) {
        auto found = zone::Database::System().Zone(id);
        if (!found) return nullptr;
        last = std::move(found);
    }
    return last.get();
}

}  // namespace

InstantResult InstantFromClassicZone(CivilDateTime local, int zoneHours, int zoneMinutes, bool dst, bool east) {
    if (std::string error = CheckLocal(local); !error.empty()) return {std::nullopt, error};
    if (zoneHours < 0 || zoneHours > 23 || zoneMinutes < 0 || zoneMinutes > 59) {
        char text[120];
        std::snprintf(text, sizeof text, "A zone of %d hours %d minutes is not a zone (hours 0 to 23, minutes 0 to 59).",
                      zoneHours, zoneMinutes);
        return {std::nullopt, text};
    }
    // West of Greenwich the classic run lowers the zone magnitude for DST and adds it to
    // local time; east it raises it and subtracts: either way the offset gains one hour.
    const int magnitude = zoneHours * 3600 + zoneMinutes * 60;
    const int offset = (east ? magnitude : -magnitude) + (dst ? 3600 : 0);
    char rule[80];
    std::snprintf(rule, sizeof rule, "zone %d:%02d %s%s (fixed %s)", zoneHours, zoneMinutes, east ? "east" : "west",
                  dst ? " with DST" : "", OffsetText(offset).c_str());
    return {MakeInstant(local, {}, offset, rule), {}};
}

InstantResult InstantFromTimeZone(CivilDateTime local, std::string_view ianaId, Fold fold, int lastYear) {
    if (std::string error = CheckLocal(local, lastYear); !error.empty()) return {std::nullopt, error};
    std::string id(ianaId);
    if (const std::optional<int> fixed = zone::FixedOffsetOf(id)) {
        // A fixed offset: every wall-clock reading occurs once.
        return {MakeInstant(local, std::move(id), *fixed, "fixed " + OffsetText(*fixed)), {}};
    }
    const zone::TimeZone* const zone = ZoneOf(id);
    if (!zone) return {std::nullopt, zone::Database::System().UnknownZoneSentence(id)};

    // Every offset a zone has ever used lies within 16 hours of UTC (local mean times
    // included), so any UTC instant that reads as this wall clock lies inside the window,
    // at the offset in force at the window's start or after one of its changes. The larger
    // offset that reads as it is in force first: the earlier of two readings.
    const std::int64_t wall = SecondsOfCivil(local);
    constexpr std::int64_t kWindow = 26 * 3600;
    std::optional<int> earlier, later;
    std::optional<zone::Transition> skipped;  // the change whose skipped span holds the wall clock
    const auto tryOffset = [&](int o) {
        if (zone->OffsetAt(wall - o) != o) return;
        earlier = std::max(earlier.value_or(o), o);
        later = std::min(later.value_or(o), o);
    };
    tryOffset(zone->OffsetAt(wall - kWindow));
    for (auto c = zone->NextTransition(wall - kWindow, wall + kWindow); c;
         c = zone->NextTransition(c->atUtc + 1, wall + kWindow)) {
        tryOffset(c->offsetAfter);
        if (!skipped && c->atUtc + c->offsetBefore <= wall && wall < c->atUtc + c->offsetAfter) skipped = c;
    }
    if (!earlier) {
        std::string message = "The local time " + DateTimeText(local) + " does not exist in " + id + ": the clocks skipped it";
        if (skipped) {
            message += " (" + OffsetText(skipped->offsetBefore) + " before, " + OffsetText(skipped->offsetAfter) + " after)";
        }
        return {std::nullopt, message + "."};
    }
    if (*earlier != *later && fold == Fold::Refuse) {
        return {std::nullopt, "The local time " + DateTimeText(local) + " occurs twice in " + id + ": first at " +
                                  OffsetText(*earlier) + ", then at " + OffsetText(*later) +
                                  "; choose the earlier or the later one."};
    }
    const int offset = fold == Fold::Later ? *later : *earlier;
    const std::string_view abbreviation = zone->StateAt(wall - offset).abbreviation;
    std::string rule;
    rule.reserve(id.size() + abbreviation.size() + 24);
    rule.append(id).append(": ");
    if (!abbreviation.empty() && !abbreviation.starts_with("UTC") && !abbreviation.starts_with('+') &&
        !abbreviation.starts_with('-')) {
        rule.append(abbreviation).append(", ");
    }
    rule += OffsetText(offset);
    return {MakeInstant(local, std::move(id), offset, std::move(rule)), {}};
}

int UtcOffsetAt(const BirthInstant& birth, std::int64_t utcSeconds) {
    if (birth.timeZone.empty() || zone::FixedOffsetOf(birth.timeZone)) return birth.utcOffsetSeconds;
    const zone::TimeZone* const zone = ZoneOf(birth.timeZone);
    if (!zone) return birth.utcOffsetSeconds;
    return zone->OffsetAt(utcSeconds);
}

}  // namespace orvanta
