#include "core/sky/bodies.h"

#include <array>
#include <cmath>

#include <swephexp.h>

#include "library_lock.h"

namespace orvanta {

namespace {

constexpr std::array<int, 9> kLibraryBody = {SE_SUN,     SE_MOON,   SE_MERCURY,   SE_VENUS,    SE_MARS,
                                             SE_JUPITER, SE_SATURN, SE_MEAN_NODE, SE_TRUE_NODE};

double Normalized(double degrees) {
    const double d = std::fmod(degrees, 360.0);
    return d < 0 ? d + 360.0 : (d >= 360.0 ? 0.0 : d);
}

}  // namespace

std::vector<BodyPlace> SiderealPlaces(double julianDayUT, Ayanamsa ayanamsa, std::span<const Body> bodies,
                                      int extraFlags) {
    std::vector<BodyPlace> places(bodies.size());
    if (!std::isfinite(julianDayUT)) {
        for (BodyPlace& place : places) place.error = "the instant is not a number";
        return places;
    }
    const int flags = SEFLG_SWIEPH | SEFLG_SIDEREAL | SEFLG_SPEED | extraFlags;
    sky::WithLibrary(ayanamsa, [&] {
        for (std::size_t i = 0; i < bodies.size(); ++i) {
            double xx[6] = {};
            char serr[AS_MAXCH] = {};
            const int returned =
                swe_calc_ut(julianDayUT, kLibraryBody[static_cast<std::size_t>(bodies[i])], flags, xx, serr);
            BodyPlace& place = places[i];
            if (returned < 0 || !std::isfinite(xx[0]) || !std::isfinite(xx[3])) {
                place.error = serr[0] != '\0' ? serr : "no position";
                continue;
            }
            place.longitude = Normalized(xx[0]);
            place.speed = xx[3];
            place.found = true;
            place.moshier = (returned & SEFLG_MOSEPH) != 0;
        }
    });
    return places;
}

}  // namespace orvanta
