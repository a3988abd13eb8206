#pragma once

#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "core/periods/period_tree.h"

namespace orvanta {

inline constexpr int kMaxUncertaintyMinutes = 360;  // a 12-hour window: the Moon crosses at most one Nakshatra edge

// The sidereal Moon, in degrees [0, 360), at a Julian day in UT.
using MoonFunction = std::function<double(double julianDayUT)>;

double JulianDayOfUtcSeconds(double utcSeconds) noexcept;  // 2440587.5 + s / 86400

// Every period start's earliest and latest instant over the birth times within
// ± minutes of the tree's birth. While the Moon stays in one Nakshatra every boundary
// moves monotonically with the birth time, so the window's two ends bound it. When the
// Moon leaves the birth Nakshatra inside the window the whole sequence changes there:
// that instant is given, and the bounds are taken over the part of the window on the
// birth's side of it.
struct BirthTimeWindow {
    int minutes = 0;
    std::optional<double> nakshatraChangesAt;  // seconds from the tree's epoch, the nearest whole second
    double from = 0;                           // the part of the window the bounds cover, from the epoch
    double to = 0;
    std::vector<double> startEarliest;  // indexed as PeriodTree::periods
    std::vector<double> startLatest;
    // The births of the window on the far side of that instant: their first lord and the
    // earliest and latest start of each of their nine Maha Dashas.
    struct OtherSide {
        int firstLord = 0;
        double from = 0;
        double to = 0;
        std::array<int, 9> lords{};
        std::array<double, 9> startEarliest{};
        std::array<double, 9> startLatest{};
    };
    std::optional<OtherSide> otherSide;
};
BirthTimeWindow BirthTimeUncertainty(const PeriodTree& tree, const MoonFunction& moon, int minutes);

}  // namespace orvanta
