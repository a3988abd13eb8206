#pragma once

#include <optional>
#include <string>

#include "core/birthfile/birth_record.h"

namespace orvanta::birthfile {

// The zone a file gives compared with the zone in force at that moment where the atlas
// finds the file's place (its city, within half a degree of the file's coordinates).
struct ZoneCheck {
    bool placeFound = false;
    std::string timeZone;                   // the atlas's IANA id
    std::optional<std::string> difference;  // a sentence for people; nothing when the two agree
};

#ifdef ORVANTA_HAVE_ATLAS
ZoneCheck CheckZoneWithAtlas(const ExchangedBirth& birth);
#else
// Built without the atlas: no place is ever found.
inline ZoneCheck CheckZoneWithAtlas(const ExchangedBirth&) { return {}; }
#endif

}  // namespace orvanta::birthfile
