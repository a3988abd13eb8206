#pragma once

#include <array>
#include <string_view>

namespace orvanta {

// One row of the time-zone picker: the text shown, and the two texts a double-click
// writes into the zone hour and zone minute boxes (the offset with its sign reversed;
// only the magnitudes count in a run).
struct TimeZoneRow {
    std::string_view text;
    std::string_view zoneHour;
    std::string_view zoneMinute;
};

extern const std::array<TimeZoneRow, 71> TimeZones;

}  // namespace orvanta
