#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/atlas/place.h"
#include "core/chart/birth_form.h"
#include "core/sky/birth_instant.h"

namespace orvanta {

// The atlas options of orvanta-chart: --place TEXT fills the latitude, longitude and zone
// fields from the best match as the birth-place window would; --places TEXT lists the
// matches. Without the atlas built in, both are refused as unusable arguments.
struct PlaceRequest {
    std::optional<std::string> place;
    std::optional<std::string> places;
};

std::string PlaceUsage();

// The answer to --places: the listing (one match a line, or a JSON object) on success,
// else the message for the refusal.
struct PlaceListing {
    std::string text;
    std::optional<Message> refusal;
    std::optional<std::string> unavailable;  // the place library cannot start
};
PlaceListing ListPlaces(std::string_view query, bool json);

// The outcome of --place on a form whose date and time are already set.
struct PlaceFilling {
    std::optional<Place> place;    // the best match: exact coordinates and IANA zone
    BirthForm form;                // with the place's fields written in
    std::string placeJson;         // the "place" member's value
    std::string summary;           // one line for people
    std::optional<Message> refusal;  // no match, an unusable birth time, or a zone the form cannot hold
    std::optional<std::string> unavailable;  // the place library cannot start
    // A zone the classic form cannot hold; the precise periods take the place's IANA zone.
    bool zoneNotExpressible = false;
};
// A local time that occurs twice at the place is read as `fold` says, and refused
// (naming both offsets) with Fold::Refuse.
PlaceFilling FillFromPlace(std::string_view query, const BirthForm& form, Fold fold);

// `objectJson` with one more member at its end.
std::string WithMember(std::string objectJson, std::string_view key, std::string_view valueJson);

}  // namespace orvanta
