#pragma once

#include <span>
#include <string>
#include <vector>

#include "core/sky/ephemeris.h"

namespace orvanta {

enum class Body { Sun, Moon, Mercury, Venus, Mars, Jupiter, Saturn, MeanNode, TrueNode };

// A body's geocentric sidereal place: longitude in [0, 360) and its daily motion in
// longitude, degrees per day (negative while it moves backward). Without a place,
// `error` holds the library's own words.
struct BodyPlace {
    double longitude = 0;
    double speed = 0;
    bool found = false;
    bool moshier = false;  // answered from the analytical theory, not the files
    std::string error;
};

// The places of `bodies` at one instant, in their order, from the library's calculation
// with SEFLG_SWIEPH | SEFLG_SIDEREAL | SEFLG_SPEED and `extraFlags` beside them (0: the
// apparent places, the Moon's flags in ComputeSky), under one hold of the library.
// Every body of a chart goes through here, so a choice of flags reaches them all.
std::vector<BodyPlace> SiderealPlaces(double julianDayUT, Ayanamsa ayanamsa, std::span<const Body> bodies,
                                      int extraFlags = 0);

}  // namespace orvanta
