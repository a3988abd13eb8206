#include "planets_output.h"

#include <cstdio>

#include "core/astro/astronomy.h"
#include "core/dasha/dasha.h"

namespace orvanta {

namespace {

std::string SignCode(int sign) { return std::string(SignCodes.substr(static_cast<std::size_t>(sign) * 3, 3)); }

std::string NodeWords(Node node) { return node == Node::Mean ? "mean lunar node" : "true (osculating) lunar node"; }

}  // namespace

void WritePlanetsJson(JsonWriter& out, const GrahaChart& chart) {
    out.BeginArray("planets");
    for (const GrahaPlace& p : chart.grahas) {
        out.BeginObject();
        out.String("name", GrahaNames[static_cast<std::size_t>(p.graha)]);
        out.Number("siderealLongitude", p.longitude);
        out.String("sign", SignCode(p.sign));
        out.Number("degreesInSign", p.longitude - p.sign * 30.0);
        out.Number("speed", p.speed);
        out.Bool("retrograde", p.retrograde);
        out.Integer("nakshatraNumber", p.nakshatra.nakshatra + 1);
        out.String("nakshatra", NakshatraNames[static_cast<std::size_t>(p.nakshatra.nakshatra)]);
        out.Integer("pada", p.nakshatra.pada);
        out.String("lord", DashaLord[static_cast<std::size_t>(p.nakshatra.lord)]);
        out.Integer("house", p.house);
        out.String("navamsaSign", SignCode(p.navamsaSign));
        out.String("dignity", DignityName(p.dignity));
        out.EndObject();
    }
    out.EndArray();
}

std::string PlanetsNodeText(const GrahaChart& chart) {
    return "  Node            " + std::string(NodeName(chart.node)) + " (Rahu at the " + NodeWords(chart.node) +
           ", Ketu opposite)\n";
}

std::string PlanetsText(const GrahaChart& chart) {
    std::string text = "\nPlanets (sidereal; houses in whole signs from the ascendant, " + SignCode(chart.ascendantSign) +
                       ")\n";
    text += "  Graha    Longitude      Position         Speed (deg/day)  Nakshatra             Pada  Lord     "
            "House  Navamsa  Dignity\n";
    char line[256];
    for (const GrahaPlace& p : chart.grahas) {
        const std::string nakshatra = std::to_string(p.nakshatra.nakshatra + 1) + " " +
                                      std::string(NakshatraNames[static_cast<std::size_t>(p.nakshatra.nakshatra)]);
        // The degree sign takes two bytes and one column: the position field counts bytes.
        std::snprintf(line, sizeof line, "  %-7s  %13.9f  %-18s%+13.9f%s  %-20s  %-4d  %-7s  %-5d  %-7s  %s\n",
                      std::string(GrahaNames[static_cast<std::size_t>(p.graha)]).c_str(), p.longitude,
                      FormatSignPosition(p.longitude).c_str(), p.speed,
                      p.retrograde ? " R" : "  ", nakshatra.c_str(), p.nakshatra.pada,
                      std::string(DashaLord[static_cast<std::size_t>(p.nakshatra.lord)]).c_str(), p.house,
                      SignCode(p.navamsaSign).c_str(), std::string(DignityName(p.dignity)).c_str());
        text += line;
    }
    return text;
}

}  // namespace orvanta
