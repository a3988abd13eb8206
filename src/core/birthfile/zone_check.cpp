#include "core/birthfile/zone_check.h"

#include <cmath>

#include "core/atlas/place_form.h"
#include "core/atlas/place_search.h"

namespace orvanta::birthfile {
namespace {

std::string ZoneWords(int offsetSeconds, bool daylight) {
    return atlas::OffsetText(offsetSeconds) + (daylight ? " with daylight saving" : " without daylight saving");
}

}  // namespace

ZoneCheck CheckZoneWithAtlas(const ExchangedBirth& birth) {
    ZoneCheck check;
    if (birth.city.empty()) return check;
    const std::optional<Place> near = [&]() -> std::optional<Place> {
        std::optional<Place> best;
        double bestDistance = 0.5;  // degrees
        for (const Place& place : atlas::SearchPlaces(birth.city, 50)) {
            const double distance = std::hypot(place.latitude - birth.latitude,
                                               (place.longitude - birth.longitude) * std::cos(birth.latitude * M_PI / 180));
            if (distance <= bestDistance) {
                bestDistance = distance;
                best = place;
            }
        }
        return best;
    }();
    if (!near) return check;
    check.placeFound = true;
    check.timeZone = near->timeZone;
    const atlas::ZoneAtBirth zone = atlas::ReadZoneAt(near->timeZone, birth.local, Fold::Earlier);
    std::string where = near->name;
    for (const std::string* part : {&near->state, &near->country}) {
        if (!part->empty()) where += ", " + *part;
    }
    if (!zone.instant) {
        check.difference = "The atlas cannot read " + near->timeZone + " at that moment in " + where + ": " + zone.problem;
        return check;
    }
    const bool fileDaylight = birth.dstSeconds.value_or(0) != 0;
    const bool offsetDiffers = zone.utcOffsetSeconds != birth.utcOffsetSeconds;
    const bool daylightDiffers = birth.dstSeconds && fileDaylight != zone.daylightTime;
    if (!offsetDiffers && !daylightDiffers) return check;
    const std::string given = birth.localMeanTime ? atlas::OffsetText(birth.utcOffsetSeconds) + " (local mean time)"
                              : birth.dstSeconds  ? ZoneWords(birth.utcOffsetSeconds, fileDaylight)
                                                  : atlas::OffsetText(birth.utcOffsetSeconds);
    check.difference = "The file gives the zone " + given + "; the atlas has " + near->timeZone + " at " +
                       ZoneWords(zone.utcOffsetSeconds, zone.daylightTime) + " at that moment in " + where +
                       ". The file's zone is read.";
    return check;
}

}  // namespace orvanta::birthfile
