#pragma once

#include <cmath>

// The signed difference a - b of two longitudes, in (-180, 180]: what is held against
// swetest's figures.
inline double AngleDifference(double a, double b) {
    double d = std::fmod(a - b, 360.0);
    if (d > 180) d -= 360;
    if (d <= -180) d += 360;
    return d;
}
