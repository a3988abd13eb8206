#include "place_options.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "json_writer.h"
#include "tool_options.h"

#ifdef ORVANTA_HAVE_ATLAS
#include "core/atlas/place_form.h"
#include "core/atlas/place_search.h"
#endif

namespace orvanta {
namespace {

#ifdef ORVANTA_HAVE_ATLAS
void WritePlace(JsonWriter& out, const Place& place) {
    out.String("name", place.name);
    out.String("state", place.state);
    out.String("country", place.country);
    out.String("countryCode", place.countryCode);
    out.Number("latitude", place.latitude);
    out.Number("longitude", place.longitude);
    out.String("timeZone", place.timeZone);
}

Message NoMatch(std::string_view query) {
    std::string text = "No place in the atlas matches \"" + std::string(query) + "\"";
    const std::vector<atlas::ClosestName> closest = atlas::ClosestNames(query);
    for (std::size_t i = 0; i < closest.size(); ++i) {
        text += i == 0 ? "; the closest names are " : i + 1 == closest.size() ? " and " : ", ";
        text += closest[i].shown;
    }
    if (closest.size() == 1) text.replace(text.find("names are"), 9, "name is");
    return {text + ".", Icon::Information, Control::None};
}

// A text the atlas cannot read: a message for the refusal, or the library's failure.
bool Unreadable(std::string_view query, std::optional<Message>& refusal, std::optional<std::string>& unavailable) {
    if (const auto problem = atlas::LibraryProblem()) {
        unavailable = problem;
    } else if (const auto tooLong = atlas::QueryProblem(query)) {
        refusal = Message{*tooLong, Icon::Error, Control::None};
    }
    return refusal || unavailable;
}
#endif

}  // namespace

std::string PlaceUsage() {
#ifdef ORVANTA_HAVE_ATLAS
    return "\n"
           "Offline atlas (place data from GeoNames, CC BY 4.0):\n" +
           OptionHelp(OptionGroup::Place) +
           "No match (the closest names are then offered), a text longer than a place's name\n"
           "or a zone the classic form cannot hold exits with status 2; a place library that\n"
           "cannot start, with status 69.\n";
#else
    return {};
#endif
}

PlaceListing ListPlaces(std::string_view query, bool json) {
    PlaceListing listing;
#ifdef ORVANTA_HAVE_ATLAS
    if (Unreadable(query, listing.refusal, listing.unavailable)) return listing;
    const std::vector<Place> places = atlas::SearchPlaces(query, 1000);
    if (places.empty()) {
        listing.refusal = NoMatch(query);
        return listing;
    }
    if (json) {
        JsonWriter out;
        out.BeginObject();
        out.BeginArray("places");
        for (const Place& place : places) {
            out.BeginObject();
            WritePlace(out, place);
            out.Integer("population", place.population);
            out.EndObject();
        }
        out.EndArray();
        out.EndObject();
        listing.text = out.Text() + "\n";
        return listing;
    }
    for (const Place& place : places) {
        char coordinates[64];
        std::snprintf(coordinates, sizeof coordinates, "%.5f\t%.5f", place.latitude, place.longitude);
        listing.text += place.name + "\t" + place.state + "\t" + place.country + "\t" + place.countryCode + "\t" +
                        coordinates + "\t" + place.timeZone + "\n";
    }
#else
    (void)query;
    (void)json;
#endif
    return listing;
}

PlaceFilling FillFromPlace(std::string_view query, const BirthForm& form, Fold fold) {
    PlaceFilling result;
    result.form = form;
#ifdef ORVANTA_HAVE_ATLAS
    if (Unreadable(query, result.refusal, result.unavailable)) return result;
    const std::vector<Place> places = atlas::SearchPlaces(query, 1);
    if (places.empty()) {
        result.refusal = NoMatch(query);
        return result;
    }
    const Place& place = places.front();
    result.place = place;
    const std::optional<CivilDateTime> local = atlas::FormLocalTime(form);
    if (!local) {
        // The form's own date check gives the message the window would show.
        result.refusal = ValidateBirthDetails(form);
        if (!result.refusal) result.refusal = Message{"The birth date is not a date of the calendar.", Icon::Error, Control::None};
        return result;
    }
    const atlas::ZoneAtBirth zone = atlas::ReadZoneAt(place.timeZone, *local, fold);
    const atlas::FormFilling filling = atlas::FillForm(place, zone);
    result.form = atlas::WithFilling(form, filling);
    result.summary = atlas::PlaceSummary(place, zone, filling);

    JsonWriter out;
    out.BeginObject();
    WritePlace(out, place);
    out.Integer("utcOffsetSeconds", zone.utcOffsetSeconds);
    out.Integer("standardOffsetSeconds", zone.standardOffsetSeconds);
    out.Bool("daylightTime", zone.daylightTime);
    out.Bool("formFilled", filling.zoneFilled);
    if (zone.kind == atlas::LocalTimeKind::Doubled && fold != Fold::Refuse) {
        out.String("fold", fold == Fold::Later ? "later" : "earlier");  // which reading of the doubled time
    }
    out.EndObject();
    result.placeJson = out.Text();

    if (!zone.instant || (zone.kind == atlas::LocalTimeKind::Doubled && fold == Fold::Refuse)) {
        result.refusal = Message{zone.problem, Icon::Error, Control::None};
    } else if (!filling.zoneFilled) {
        result.zoneNotExpressible = true;
        result.refusal = Message{filling.problem, Icon::Error, Control::None};
    }
#else
    (void)query;
    (void)fold;
#endif
    return result;
}

std::string WithMember(std::string objectJson, std::string_view key, std::string_view valueJson) {
    const std::size_t end = objectJson.rfind('}');
    if (end == std::string::npos) return objectJson;
    const bool empty = objectJson.find_last_not_of(" \n", end - 1) == objectJson.find('{');
    std::string member = empty ? "\"" : ", \"";
    member += key;  // keys here are plain identifiers
    member += "\": ";
    member += valueJson;
    objectJson.insert(end, member);
    return objectJson;
}

}  // namespace orvanta
