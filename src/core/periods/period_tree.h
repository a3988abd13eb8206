#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/dasha/calendar.h"

namespace orvanta {

inline constexpr double kDefaultYearDays = 365.25;
inline constexpr double kMinYearDays = 300;
inline constexpr double kMaxYearDays = 400;
inline constexpr int kMaxPeriodLevels = 5;  // Maha, Antar, Pratyantar, Sookshma, Prana

// True for a year length the periods accept: any value in [300, 400] days of 86,400 s.
bool IsUsableYearDays(double yearDays) noexcept;

// Where a sidereal longitude stands among the 27 Nakshatras of 13°20'.
struct MoonPlace {
    int nakshatra = 0;           // [0, 26]; the Nakshatra number is nakshatra + 1
    int pada = 1;                // [1, 4]
    int lord = 0;                // index in DashaLord
    double elapsedFraction = 0;  // [0, 1) of the Nakshatra already traversed
};
MoonPlace PlaceOfMoon(double siderealLongitude) noexcept;

// One period of the tree. Instants are seconds from the tree's epoch (a whole UTC
// second); a double keeps them to about a microsecond over the whole cycle.
struct Period {
    std::array<std::int8_t, kMaxPeriodLevels> lords{};  // indices in DashaLord, outermost first
    int level = 1;                                       // [1, 5]; lords[0 .. level) are set
    double start = 0;
    double end = 0;
    int firstChild = -1;  // index of the first of nine children in PeriodTree::periods; -1 at the last level
};

struct PeriodRequest {
    std::int64_t epochUtcSeconds = 0;  // the instant every Period time counts from
    double birthSeconds = 0;           // the birth instant, from the epoch
    double moonSiderealLongitude = 0;  // degrees, [0, 360)
    double yearDays = kDefaultYearDays;
    int levels = 3;  // [1, 5]
};

// The nine Maha Dashas at periods[0 .. 9), each period's nine children together,
// every level after the one above it.
struct PeriodTree {
    PeriodRequest request;
    MoonPlace moon;
    std::vector<Period> periods;
};

// The Vimshottari periods from the exact Moon: the birth lord's Maha Dasha began the
// elapsed fraction of its years before birth; inside a period of lord L lasting D the
// children begin with L and follow the cycle, child K lasting D * years(K) / 120. A
// child's start is its parent's start plus the share of the children before it, and
// the last child ends at its parent's end, so each boundary is one double shared by
// the period that ends and the one that begins.
PeriodTree BuildPeriodTree(const PeriodRequest& request);

// The chain of indices, outermost first, of the periods running at `at` (seconds
// from the epoch; a period runs from its start, inclusive, to its end), down to
// `levels`; empty when the instant lies outside the nine Maha Dashas.
std::vector<int> RunningChain(const PeriodTree& tree, double at, int levels);

// A whole UTC second of an instant of the tree: the nearest one, halves away from zero.
std::int64_t RoundedUtcSeconds(const PeriodTree& tree, double seconds);

// Age in whole calendar units from `birth` to `on` (local dates): the most months m
// such that `birth` + m months (a day the month lacks clamped to its last day) is not
// after `on`, split into years and months, then the days from that date to `on`.
// Nothing when `on` is before `birth`.
struct CalendarAge {
    int years = 0;
    int months = 0;  // [0, 11]
    int days = 0;    // [0, 30]

    friend bool operator==(const CalendarAge&, const CalendarAge&) = default;
};
std::optional<CalendarAge> AgeOn(Date birth, Date on) noexcept;

}  // namespace orvanta
