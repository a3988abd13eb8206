#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvanta {

enum class Ayanamsa { Lahiri, Raman, Krishnamurti, Yukteshwar, FaganBradley, TrueCitra };
std::optional<Ayanamsa> AyanamsaFromName(std::string_view name);  // "lahiri", "raman", "krishnamurti", "yukteshwar", "fagan-bradley", "true-citra"
std::string_view AyanamsaName(Ayanamsa);                         // the same names
struct EngineInfo { std::string library; std::string version; std::string ephemeris; };  // "Swiss Ephemeris", swe_version(), "files" | "moshier"
EngineInfo Engine();  // `ephemeris` from a probe at 2000-01-01 12h TT; Sky::moshier tells for one instant
EngineInfo EngineVersion();  // `ephemeris` left empty, for a caller that takes it from its own Sky::moshier

// How a place in the sky is taken. Apparent: as seen, with light-time, the deflection of
// light by the Sun and nutation, from the true ayanamsa. Geometric: the true position
// without light-time, deflection and nutation, from the mean ayanamsa (the library's flags
// SEFLG_TRUEPOS | SEFLG_NOGDEFL | SEFLG_NONUT). The sidereal longitudes of the two differ
// by the light-time (about 0.7" for the Moon); the ayanamsas by the nutation in longitude.
enum class MoonPosition { Apparent, Geometric };
std::optional<MoonPosition> MoonPositionFromName(std::string_view name);  // "apparent", "geometric"
std::string_view MoonPositionName(MoonPosition);
// The library's flags for a position of that kind, to be or-ed with an ephemeris flag and
// SEFLG_SIDEREAL (for every body computed beside the Moon with the same choice).
int PositionFlags(MoonPosition);
// The most the library's analytical Moon may lie from that of undamaged files, degrees: its
// documentation says "a few arc seconds"; over 1800-2400 the two stay within 4.6" (200,000
// instants, apparent and geometric). A Moon from the files farther away is refused.
inline constexpr double kTheoryBoundDegrees = 6.0 / 3600;
// The Moon: apparent geocentric sidereal longitude. The ascendant: sidereal. The ayanamsa:
// the true one (mean ayanamsa plus nutation in longitude), by which those sidereal
// longitudes lie below the apparent tropical ones. Delta T = TT - UT at the instant.
// Degrees in [0, 360) but the ayanamsa; NaN for a place or instant the library cannot take.
// `moshier`: the library answered this instant from its analytical theory, because its files
// are missing or do not cover it (the basic set's planet file starts at 1800-01-01 0h UT);
// Delta T then follows that theory too.
// The files that answered are checked first (ephemeris_files.h), and the Moon from them is
// cross-checked against the theory within kTheoryBoundDegrees: a damaged or unreadable file
// gives NaN and `error`, a sentence naming the file and the cause.
struct Sky { double moonSiderealLongitude = 0; double ascendantSiderealLongitude = 0; double ayanamsaDegrees = 0; double deltaTSeconds = 0;
             bool moshier = false; std::string error; std::string moonFile; };
// latitude north positive, longitude east positive, degrees. Thread-safe (guard the library with a mutex if it is not).
// The data files are looked for beside the program (ephe/) and in the system's libswe/ephe
// folders; the SE_EPHE_PATH environment variable overrides both. Engine() tells which answered.
Sky ComputeSky(double julianDayUT, double latitude, double longitude, Ayanamsa ayanamsa,
               MoonPosition position = MoonPosition::Apparent);
// [0, 360); NaN where ComputeSky would give an error.
double MoonSiderealLongitude(double julianDayUT, Ayanamsa ayanamsa, MoonPosition position = MoonPosition::Apparent);

}  // namespace orvanta
