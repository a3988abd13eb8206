#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/periods/period_tree.h"
#include "core/periods/precise_chart.h"

namespace orvanta {

// The nine grahas in the order the chart lists them.
enum class Graha { Sun, Moon, Mars, Mercury, Jupiter, Venus, Saturn, Rahu, Ketu };
inline constexpr int kGrahas = 9;
inline constexpr std::array<std::string_view, kGrahas> GrahaNames = {"Sun",     "Moon",  "Mars",   "Mercury", "Jupiter",
                                                                     "Venus",   "Saturn", "Rahu", "Ketu"};
// Two letters for the chart's squares: "Su", "Mo", "Ma", "Me", "Ju", "Ve", "Sa", "Ra", "Ke".
std::string_view GrahaAbbreviation(Graha graha);
// The graha that rules the periods of a lord (an index in DashaLord).
Graha GrahaOfLord(int lord);

// The lunar node Rahu is taken from; Ketu stands exactly opposite it.
enum class Node { Mean, True };
std::optional<Node> NodeFromName(std::string_view name);  // "mean", "true"
std::string_view NodeName(Node node);                      // the same names

enum class Dignity { None, Exalted, Debilitated, Moolatrikona, OwnSign };
std::string_view DignityName(Dignity dignity);  // "none", "exalted", "debilitated", "moolatrikona", "own sign"

// A graha's dignity at a sidereal longitude, after Brihat Parashara Hora Shastra,
// chapter 3: exalted in the sign of its deepest exaltation (Sun 10° Aries, Moon 3°
// Taurus, Mars 28° Capricorn, Mercury 15° Virgo, Jupiter 5° Cancer, Venus 27° Pisces,
// Saturn 20° Libra), debilitated in the opposite sign, moolatrikona in Leo 0-20° (Sun),
// Taurus 3-30° (Moon), Aries 0-12° (Mars), Virgo 15-20° (Mercury), Sagittarius 0-10°
// (Jupiter), Libra 0-15° (Venus), Aquarius 0-20° (Saturn), and otherwise in its own
// signs. Where the exaltation sign holds the moolatrikona too (Moon, Mercury) the degrees
// up to the deepest exaltation are the exaltation's, the moolatrikona follows and the rest
// is the own sign's. Ranges include their start, not their end. Rahu and Ketu get none: the texts disagree on their
// signs (Taurus or Gemini for Rahu's exaltation), so no tradition is chosen for them.
Dignity DignityOf(Graha graha, double siderealLongitude);

int SignOf(double siderealLongitude);          // 0 Aries .. 11 Pisces
int NavamsaSignOf(double siderealLongitude);   // the sign of its ninth part of 3°20', counted on from Aries
int HouseOf(int sign, int ascendantSign);      // whole signs: 1 for the ascendant's own sign .. 12

struct GrahaPlace {
    Graha graha = Graha::Sun;
    double longitude = 0;  // sidereal, [0, 360)
    double speed = 0;      // degrees per day in sidereal longitude
    bool retrograde = false;
    MoonPlace nakshatra;   // the Nakshatra, pada and lord of the longitude
    int sign = 0;
    int house = 1;
    int navamsaSign = 0;
    Dignity dignity = Dignity::None;
};

struct GrahaChart {
    Node node = Node::Mean;
    int ascendantSign = 0;
    int ascendantNavamsaSign = 0;
    std::array<GrahaPlace, kGrahas> grahas{};
};

struct GrahaOutcome {
    std::optional<GrahaChart> chart;
    std::string error;  // a sentence for people when there is no chart
};

// The nine at the chart's birth instant with its ayanamsa; a graha the library cannot
// compute is a refusal that names it.
GrahaOutcome ComputeGrahas(const PreciseChart& chart, Node node);

}  // namespace orvanta
