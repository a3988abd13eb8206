#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/base/birth_details.h"

namespace orvanta {

// Degrees to radians and back. These two decimal values are the ones the chart
// uses, not a full-precision pi / 180: positions near a truncation edge depend on it.
inline constexpr double kDegToRad = 0.0174532925199433;
inline constexpr double kRadToDeg = 57.2957795130823;

inline constexpr std::string_view SignCodes = "AriTauGemCanLeoVirLibScoSagCapAquPis";

// The sign (0 for Aries to 11 for Pisces) whose three-letter code is `code`, exactly; -1
// for anything else.
constexpr int SignOfCode(std::string_view code) noexcept {
    if (code.size() != 3) return -1;
    for (std::size_t i = 0; i < 12; ++i) {
        if (SignCodes[3 * i] == code[0] && SignCodes[3 * i + 1] == code[1] && SignCodes[3 * i + 2] == code[2]) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

extern const std::array<std::string_view, 27> NakshatraNames;  // Nakshatra n at [n - 1]

// The birth time and place as the computations read them. East longitudes and
// south latitudes are negative; the zone is a magnitude whose direction follows the
// longitude hemisphere.
struct BirthTime {
    double localTime = 0;        // hours
    double zone = 0;             // hours, after daylight saving
    double signedLongitude = 0;  // degrees, east negative
    double signedLatitude = 0;   // degrees, south negative
    double universalTime = 0;    // hours; not brought into [0, 24), the date is not moved
};
BirthTime ReadBirthTime(const BirthDetails& birth);

// The Julian day number at noon of a civil date (Gregorian from 15 October 1582).
double JulianDayNumber(int month, int day, int year);

// Julian centuries from J2000.0 and from J1900.0 for day number jd and universal time ut.
double T2000(double jd, double universalTime);
double T1900(double jd, double universalTime);

// Ayanamsa in degrees, negative: sidereal = tropical + result.
double Ayanamsha2000(double t2000);
double Ayanamsha1900(double t1900);

// The Moon's tropical longitude in [0, 360) from the first 25 terms of Meeus'
// lunar series (Astronomical Algorithms, 1991, table 45.A), arguments linear in T.
double MoonTropicalLongitude(double t2000);

// Local sidereal time as an angle in [0, 360) degrees.
double LocalSiderealAngle(double t1900, double universalTime, double signedLongitude);

// The tropical ascendant in [0, 360) degrees.
double TropicalAscendant(double t1900, double universalTime, double signedLongitude, double signedLatitude);

// "15° 30' 0\" Tau": degrees within the sign, minutes and seconds truncated.
std::string FormatSignPosition(double x);
// "-23° 51' 14\"": a signed angle without sign code.
std::string FormatSignedAngle(double x);

// The Nakshatra of a sidereal longitude; a boundary belongs to the one that begins there.
std::string_view NakshatraOf(double siderealLongitude);

// "Libra (Thula)" for "Lib"; empty for an unknown code.
std::string_view RashiName(std::string_view signCode);

struct ChartPositions;
// ComputeMoonPlace and ComputeLagna for a birth time and Julian day number read once,
// as ReadBirthTime and JulianDayNumber give them for the birth details.
void ComputeMoonPlace(const BirthTime& time, double julianDay, ChartPositions& positions);
void ComputeLagna(const BirthTime& time, double julianDay, ChartPositions& positions);

}  // namespace orvanta
