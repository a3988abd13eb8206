#pragma once

#include <cstdint>
#include <string>

namespace orvanta {

// The validated input of one run. The zone is kept as magnitudes: its direction
// follows the longitude hemisphere.
struct BirthDetails {
    std::string name;
    std::int16_t month = 1;
    std::int16_t day = 1;
    std::int16_t year = 1901;
    std::int16_t hour = 0;
    std::int16_t minute = 0;
    std::int16_t zoneHours = 0;
    std::int16_t zoneMinutes = 0;
    std::int16_t longitudeDegrees = 0;
    std::int16_t longitudeMinutes = 0;
    std::int16_t latitudeDegrees = 0;
    std::int16_t latitudeMinutes = 0;
    bool isEast = true;
    bool isSouth = false;
    bool dst = false;

    friend bool operator==(const BirthDetails&, const BirthDetails&) = default;
};

}  // namespace orvanta
