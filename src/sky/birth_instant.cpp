#include "sky/birth_instant.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "zone/tz_database.h"

namespace orvanta {
namespace {

constexpr int kFirstYear = 1800;

constexpr bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

constexpr int DaysInMonth(int y, int m) {
    constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

std::string DateTimeText(const CivilDateTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return text;
}

// "UTC+05:30"; seconds only when the offset has them (local mean times).
std::string OffsetText(int offsetSeconds) {
    const int a = offsetSeconds < 0 ? -offsetSeconds : offsetSeconds;
    char text[24];
    if (a % 60 != 0) {
        std::snprintf(text, sizeof text, "UTC%c%02d:%02d:%02d", offsetSeconds < 0 ? '-' : '+', a / 3600,
                      a / 60 % 60, a % 60);
    } else {
        std::snprintf(text, sizeof text, "UTC%c%02d:%02d", offsetSeconds < 0 ? '-' : '+', a / 3600, a / 60 % 60);
    }
    return text;
}

// Empty when the reading is a valid date 1800..2399 and time of day; else the refusal.
std::string CheckLocal(const CivilDateTime& t, int lastYear = kLastBirthYear) {
    char text[160];
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > DaysInMonth(t.year, t.month)) {
        std::snprintf(text, sizeof text, "There is no date %04d-%02d-%02d in the calendar.", t.year, t.month, t.day);
        return text;
    }
    if (t.year < kFirstYear || t.year > lastYear) {
        std::snprintf(text, sizeof text, "The date %04d-%02d-%02d is outside the years %d to %d.", t.year, t.month,
                      t.day, kFirstYear, lastYear);
        return text;
    }
    if (t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59 || t.second < 0 || t.second > 59) {
        std::snprintf(text, sizeof text, "The time %02d:%02d:%02d is not a time of day.", t.hour, t.minute, t.second);
        return text;
    }
    return {};
}

// The wall-clock reading counted as if it were UTC.
std::int64_t LocalSeconds(const CivilDateTime& t) {
    return zone::DaysFromCivil(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

BirthInstant MakeInstant(const CivilDateTime& local, std::string timeZone, int offsetSeconds, std::string rule) {
    BirthInstant birth;
    birth.local = local;
    birth.timeZone = std::move(timeZone);
    birth.utcOffsetSeconds = offsetSeconds;
    birth.utcSeconds = LocalSeconds(local) - offsetSeconds;
    birth.julianDayUT = 2440587.5 + static_cast<double>(birth.utcSeconds) / 86400.0;
    birth.zoneRule = std::move(rule);
    return birth;
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
    const std::string id(ianaId);
    const zone::Database& database = zone::Database::System();
    if (!database.Knows(id)) return {std::nullopt, database.UnknownZoneSentence(id)};
    const auto zone = database.Zone(id);
    if (!zone) return {std::nullopt, "The tz database's file for " + id + " cannot be read."};

    // Every offset a zone has ever used lies within 16 hours of UTC (local mean times
    // included), so any UTC instant that reads as this wall clock lies inside the window.
    const std::int64_t wall = LocalSeconds(local);
    constexpr std::int64_t kWindow = 26 * 3600;
    std::vector<int> candidates{zone->OffsetAt(wall - kWindow)};
    const std::vector<zone::Transition> changes = zone->TransitionsBetween(wall - kWindow, wall + kWindow);
    for (const zone::Transition& c : changes) candidates.push_back(c.offsetAfter);
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());

    std::vector<int> offsets;  // those at which the wall clock really shows this reading
    for (int o : candidates) {
        if (zone->OffsetAt(wall - o) == o) offsets.push_back(o);
    }
    const std::string when = DateTimeText(local);
    if (offsets.empty()) {
        std::string message = "The local time " + when + " does not exist in " + id + ": the clocks skipped it";
        for (const zone::Transition& c : changes) {
            if (c.atUtc + c.offsetBefore <= wall && wall < c.atUtc + c.offsetAfter) {
                message += " (" + OffsetText(c.offsetBefore) + " before, " + OffsetText(c.offsetAfter) + " after)";
                break;
            }
        }
        return {std::nullopt, message + "."};
    }
    // The larger offset is in force first: the earlier of two readings of one wall clock.
    std::sort(offsets.begin(), offsets.end(), std::greater<>());
    if (offsets.size() > 1 && fold == Fold::Refuse) {
        return {std::nullopt, "The local time " + when + " occurs twice in " + id + ": first at " +
                                  OffsetText(offsets.front()) + ", then at " + OffsetText(offsets.back()) +
                                  "; choose the earlier or the later one."};
    }
    const int offset = fold == Fold::Later ? offsets.back() : offsets.front();
    const std::string_view abbreviation = zone->StateAt(wall - offset).abbreviation;
    std::string rule = id + ": ";
    if (!abbreviation.empty() && !abbreviation.starts_with("UTC") && !abbreviation.starts_with('+') &&
        !abbreviation.starts_with('-')) {
        rule += std::string(abbreviation) + ", ";
    }
    rule += OffsetText(offset);
    return {MakeInstant(local, id, offset, rule), {}};
}

int UtcOffsetAt(const BirthInstant& birth, std::int64_t utcSeconds) {
    if (birth.timeZone.empty()) return birth.utcOffsetSeconds;
    // The database hands out each zone once; a row asks thousands of times for one birth.
    thread_local std::shared_ptr<const zone::TimeZone> cached;
    if (!cached || cached->Id() != birth.timeZone) cached = zone::Database::System().Zone(birth.timeZone);
    if (!cached) return birth.utcOffsetSeconds;
    return cached->OffsetAt(utcSeconds);
}

}  // namespace orvanta
