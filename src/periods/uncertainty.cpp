#include "periods/uncertainty.h"

#include <algorithm>
#include <cmath>

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

double JulianDayOfUtcSeconds(double utcSeconds) noexcept { return 2440587.5 + utcSeconds / 86400; }

BirthTimeWindow BirthTimeUncertainty(const PeriodTree& tree, const MoonFunction& moon, int minutes) {
    BirthTimeWindow window;
    window.minutes = std::clamp(minutes, 0, kMaxUncertaintyMinutes);
    const double birth = tree.request.birthSeconds;
    const int n = tree.moon.nakshatra;
    window.from = birth - window.minutes * 60.0;
    window.to = birth + window.minutes * 60.0;
    if (NakshatraAt(moon, tree, window.from) != n) {
        const auto [inside, outside] = Bisect(moon, tree, n, birth, window.from);
        window.nakshatraChangesAt = std::round(inside);
        window.from = inside;
        (void)outside;
    } else if (NakshatraAt(moon, tree, window.to) != n) {
        const auto [inside, outside] = Bisect(moon, tree, n, birth, window.to);
        window.nakshatraChangesAt = std::round(outside);
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
