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
struct Sky { double moonSiderealLongitude = 0; double ascendantSiderealLongitude = 0; double ayanamsaDegrees = 0; double deltaTSeconds = 0; };
// latitude north positive, longitude east positive, degrees. Thread-safe (guard the library with a mutex if it is not).
Sky ComputeSky(double julianDayUT, double latitude, double longitude, Ayanamsa ayanamsa);
double MoonSiderealLongitude(double julianDayUT, Ayanamsa ayanamsa);  // [0, 360)

}  // namespace orvanta
