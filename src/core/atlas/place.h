#pragma once

#include <string>

namespace orvanta {

// One entry of the offline atlas, as the atlas holds it. Latitude north positive,
// longitude east positive, in degrees; `timeZone` is an IANA id ("Asia/Kolkata").
struct Place {
    std::string name;
    std::string state;
    std::string country;
    std::string countryCode;  // ISO 3166 alpha-2, "IN"
    double latitude = 0;
    double longitude = 0;
    std::string timeZone;
    unsigned population = 0;

    friend bool operator==(const Place&, const Place&) = default;
};

}  // namespace orvanta
