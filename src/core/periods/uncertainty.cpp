#include "core/periods/uncertainty.h"

#include <algorithm>
#include <cmath>

#include "core/base/calendar.h"

namespace orvanta {

namespace {

int NakshatraAt(const MoonFunction& moon, const PeriodTree& tree, double seconds) {
    return PlaceOfMoon(moon(JulianDayOfUtcSeconds(static_cast<double>(tree.request.epochUtcSeconds) + seconds))).nakshatra;
}

// The edge between `inside` (in Nakshatra n) and `outside` (not), to a millisecond:
// near the edge a second of birth time moves the boundaries by up to 40 minutes.
std::pair<double, double> Bisect(const MoonFunction& moon, const PeriodTree& tree, int n, double inside, double outside) {
    while (std::abs(outside - inside) > 1e-3) {
        const double middle = (inside + outside) / 2;
        (NakshatraAt(moon, tree, middle) == n ? inside : outside) = middle;
    }
    return {inside, outside};
}

}  // namespace

double JulianDayOfUtcSeconds(double utcSeconds) noexcept { return kJulianDayOfEpoch + utcSeconds / 86400; }

BirthTimeWindow BirthTimeUncertainty(const PeriodTree& tree, const MoonFunction& moon, int minutes) {
    BirthTimeWindow window;
    window.minutes = std::clamp(minutes, 0, kMaxUncertaintyMinutes);
    const double birth = tree.request.birthSeconds;
    const int n = tree.moon.nakshatra;
    window.from = birth - window.minutes * 60.0;
    window.to = birth + window.minutes * 60.0;
    std::optional<std::pair<double, double>> beyond;  // the far part of the window, when there is one
    if (NakshatraAt(moon, tree, window.from) != n) {
        const auto [inside, outside] = Bisect(moon, tree, n, birth, window.from);
        window.nakshatraChangesAt = std::round(inside);
        beyond = {window.from, outside};
        window.from = inside;
    } else if (NakshatraAt(moon, tree, window.to) != n) {
        const auto [inside, outside] = Bisect(moon, tree, n, birth, window.to);
        window.nakshatraChangesAt = std::round(outside);
        beyond = {outside, window.to};
        window.to = inside;
    }

    const auto treeAt = [&](double seconds) {
        PeriodRequest request = tree.request;
        request.birthSeconds = seconds;
        request.moonSiderealLongitude =
            seconds == birth ? tree.request.moonSiderealLongitude
                             : moon(JulianDayOfUtcSeconds(static_cast<double>(tree.request.epochUtcSeconds) + seconds));
        return BuildPeriodTree(request);
    };
    if (beyond) {
        // The far part lies in one Nakshatra too (the window is shorter than a Nakshatra's
        // crossing), so its Maha Dashas also move monotonically between its two ends.
        const auto mahaAt = [&](double seconds) {
            PeriodRequest request = tree.request;
            request.levels = 1;
            request.birthSeconds = seconds;
            request.moonSiderealLongitude =
                moon(JulianDayOfUtcSeconds(static_cast<double>(tree.request.epochUtcSeconds) + seconds));
            return BuildPeriodTree(request);
        };
        const PeriodTree a = mahaAt(beyond->first);
        const PeriodTree b = mahaAt(beyond->second);
        BirthTimeWindow::OtherSide other;
        other.from = beyond->first;
        other.to = beyond->second;
        other.firstLord = a.periods[0].lords[0];
        for (std::size_t i = 0; i < other.lords.size(); ++i) {
            other.lords[i] = a.periods[i].lords[0];
            other.startEarliest[i] = std::min(a.periods[i].start, b.periods[i].start);
            other.startLatest[i] = std::max(a.periods[i].start, b.periods[i].start);
        }
        window.otherSide = other;
    }

    const PeriodTree early = treeAt(window.from);
    const PeriodTree late = treeAt(window.to);
    window.startEarliest.resize(tree.periods.size());
    window.startLatest.resize(tree.periods.size());
    for (std::size_t i = 0; i < tree.periods.size(); ++i) {
        // Both ends lie in the birth Nakshatra, so both trees list the same lords in the same order.
        window.startEarliest[i] = std::min({early.periods[i].start, late.periods[i].start, tree.periods[i].start});
        window.startLatest[i] = std::max({early.periods[i].start, late.periods[i].start, tree.periods[i].start});
    }
    return window;
}

}  // namespace orvanta
