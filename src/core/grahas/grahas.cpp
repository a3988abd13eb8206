#include "core/grahas/grahas.h"

#include <algorithm>
#include <cmath>

#include "core/sky/bodies.h"
#include "core/sky/ephemeris.h"

namespace orvanta {

namespace {

enum Sign { Aries, Taurus, Gemini, Cancer, Leo, Virgo, Libra, Scorpio, Sagittarius, Capricorn, Aquarius, Pisces };

// Brihat Parashara Hora Shastra, chapter 3: the deepest exaltation, the moolatrikona's
// sign and degrees, and the signs owned, for the seven grahas from the Sun to Saturn.
struct DignityRow {
    int exaltationSign;
    double exaltationDegrees;
    int moolatrikonaSign;
    double moolatrikonaFrom;
    double moolatrikonaTo;
    std::array<int, 2> ownSigns;  // a single own sign is given twice
};
constexpr std::array<DignityRow, 7> kDignities = {{
    {Aries, 10, Leo, 0, 20, {Leo, Leo}},                          // Sun
    {Taurus, 3, Taurus, 3, 30, {Cancer, Cancer}},                 // Moon
    {Capricorn, 28, Aries, 0, 12, {Aries, Scorpio}},              // Mars
    {Virgo, 15, Virgo, 15, 20, {Gemini, Virgo}},                  // Mercury
    {Cancer, 5, Sagittarius, 0, 10, {Sagittarius, Pisces}},       // Jupiter
    {Pisces, 27, Libra, 0, 15, {Taurus, Libra}},                  // Venus
    {Libra, 20, Aquarius, 0, 20, {Capricorn, Aquarius}},          // Saturn
}};

constexpr std::array<std::string_view, kGrahas> kAbbreviations = {"Su", "Mo", "Ma", "Me", "Ju",
                                                                  "Ve", "Sa", "Ra", "Ke"};
// DashaLord's cycle order: Ketu, Venus, Sun, Moon, Mars, Rahu, Jupiter, Saturn, Mercury.
constexpr std::array<Graha, kGrahas> kGrahaOfLord = {Graha::Ketu, Graha::Venus,   Graha::Sun,
                                                     Graha::Moon, Graha::Mars,    Graha::Rahu,
                                                     Graha::Jupiter, Graha::Saturn, Graha::Mercury};

constexpr std::array<Body, 7> kBodies = {Body::Sun,     Body::Moon,  Body::Mars,  Body::Mercury,
                                         Body::Jupiter, Body::Venus, Body::Saturn};

double Normalized(double degrees) {
    const double d = std::fmod(degrees, 360.0);
    return d < 0 ? d + 360.0 : (d >= 360.0 ? 0.0 : d);
}

GrahaPlace PlaceOf(Graha graha, double longitude, double speed, int ascendantSign) {
    GrahaPlace place;
    place.graha = graha;
    place.longitude = longitude;
    place.speed = speed;
    place.retrograde = speed < 0;
    place.nakshatra = PlaceOfMoon(longitude);
    place.sign = SignOf(longitude);
    place.house = HouseOf(place.sign, ascendantSign);
    place.navamsaSign = NavamsaSignOf(longitude);
    place.dignity = DignityOf(graha, longitude);
    return place;
}

}  // namespace

std::string_view GrahaAbbreviation(Graha graha) { return kAbbreviations[static_cast<std::size_t>(graha)]; }

Graha GrahaOfLord(int lord) { return kGrahaOfLord[static_cast<std::size_t>(std::clamp(lord, 0, kGrahas - 1))]; }

std::optional<Node> NodeFromName(std::string_view name) {
    if (name == "mean") return Node::Mean;
    if (name == "true") return Node::True;
    return std::nullopt;
}

std::string_view NodeName(Node node) { return node == Node::Mean ? "mean" : "true"; }

std::string_view DignityName(Dignity dignity) {
    switch (dignity) {
    case Dignity::Exalted: return "exalted";
    case Dignity::Debilitated: return "debilitated";
    case Dignity::Moolatrikona: return "moolatrikona";
    case Dignity::OwnSign: return "own sign";
    case Dignity::None: break;
    }
    return "none";
}

Dignity DignityOf(Graha graha, double siderealLongitude) {
    if (graha == Graha::Rahu || graha == Graha::Ketu) return Dignity::None;
    const DignityRow& row = kDignities[static_cast<std::size_t>(graha)];
    const double longitude = Normalized(siderealLongitude);
    const int sign = SignOf(longitude);
    const double degrees = longitude - sign * 30.0;
    const bool inMoolatrikona =
        sign == row.moolatrikonaSign && degrees >= row.moolatrikonaFrom && degrees < row.moolatrikonaTo;
    if (sign == row.exaltationSign && (sign != row.moolatrikonaSign || degrees < row.exaltationDegrees)) {
        return Dignity::Exalted;
    }
    if (sign == (row.exaltationSign + 6) % 12) return Dignity::Debilitated;
    if (inMoolatrikona) return Dignity::Moolatrikona;
    if (sign == row.ownSigns[0] || sign == row.ownSigns[1]) return Dignity::OwnSign;
    return Dignity::None;
}

int SignOf(double siderealLongitude) {
    return std::clamp(static_cast<int>(std::floor(Normalized(siderealLongitude) / 30.0)), 0, 11);
}

int NavamsaSignOf(double siderealLongitude) {
    const int part = std::clamp(static_cast<int>(std::floor(Normalized(siderealLongitude) * 9.0 / 30.0)), 0, 107);
    return part % 12;
}

int HouseOf(int sign, int ascendantSign) { return (sign - ascendantSign + 12) % 12 + 1; }

GrahaOutcome ComputeGrahas(const PreciseChart& chart, Node node) {
    std::array<Body, 8> bodies{};
    std::copy(kBodies.begin(), kBodies.end(), bodies.begin());
    bodies.back() = node == Node::Mean ? Body::MeanNode : Body::TrueNode;
    // The Moon's position convention (apparent or geometric) holds for every graha.
    const std::vector<BodyPlace> places =
        SiderealPlaces(chart.birth.julianDayUT, chart.ayanamsa, bodies, PositionFlags(chart.moonPosition));

    GrahaChart out;
    out.node = node;
    out.ascendantSign = SignOf(chart.sky.ascendantSiderealLongitude);
    out.ascendantNavamsaSign = NavamsaSignOf(chart.sky.ascendantSiderealLongitude);
    for (std::size_t i = 0; i < places.size(); ++i) {
        const auto graha = static_cast<Graha>(i);
        if (!places[i].found) {
            return {std::nullopt, "The ephemeris cannot compute " + std::string(GrahaNames[i]) +
                                      " for this instant (" + places[i].error + ")."};
        }
        out.grahas[i] = PlaceOf(graha, places[i].longitude, places[i].speed, out.ascendantSign);
    }
    const BodyPlace& rahu = places.back();
    out.grahas[static_cast<std::size_t>(Graha::Ketu)] =
        PlaceOf(Graha::Ketu, Normalized(rahu.longitude + 180.0), rahu.speed, out.ascendantSign);
    return {out, {}};
}

}  // namespace orvanta
