#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvanta {

enum class Ayanamsa { Lahiri, Raman, Krishnamurti, Yukteshwar, FaganBradley, TrueCitra };
std::optional<Ayanamsa> AyanamsaFromName(std::string_view name);  // "lahiri", "raman", "krishnamurti", "yukteshwar", "fagan-bradley", "true-citra"
std::string_view AyanamsaName(Ayanamsa);                         // the same names
struct EngineInfo { std::string library; std::string version; std::string ephemeris; };  // "Swiss Ephemeris", swe_version(), "files" | "moshier"
EngineInfo Engine();
// The Moon: apparent geocentric sidereal longitude. The ascendant: sidereal. The ayanamsa:
// the true one (mean ayanamsa plus nutation in longitude), by which those sidereal
// longitudes lie below the apparent tropical ones. Delta T = TT - UT at the instant.
// Degrees in [0, 360) but the ayanamsa; NaN for a place or instant the library cannot take.
// `moshier`: the library answered this instant from its analytical theory, because its files
// are missing or do not cover it (the basic set's planet file starts at 1800-01-01 0h UT);
// Delta T then follows that theory too.
struct Sky { double moonSiderealLongitude = 0; double ascendantSiderealLongitude = 0; double ayanamsaDegrees = 0; double deltaTSeconds = 0;
             bool moshier = false; };
// latitude north positive, longitude east positive, degrees. Thread-safe (guard the library with a mutex if it is not).
// The data files are looked for beside the program (ephe/) and in the system's libswe/ephe
// folders; the SE_EPHE_PATH environment variable overrides both. Engine() tells which answered.
Sky ComputeSky(double julianDayUT, double latitude, double longitude, Ayanamsa ayanamsa);
double MoonSiderealLongitude(double julianDayUT, Ayanamsa ayanamsa);  // [0, 360)

}  // namespace orvanta
